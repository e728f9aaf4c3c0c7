// ventas [FILE]: reads the sales of the photo-development counter from a comma-separated file
// (ventas.csv in the current folder by default), keeps them in a list and prints five figures
// about them. A file that cannot be read or a line without six fields ends it with status 1.
#include "LinkedList.h"
#include "Revelados.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sys/types.h>

namespace {

constexpr const char* kDefaultFile = "ventas.csv";
constexpr int kFields = 6;

struct FileCloser {
    void operator()(std::FILE* file) const {
        std::fclose(file);
    }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Frees every record held, then the list itself.
struct SalesReleaser {
    void operator()(LinkedList* sales) const {
        const int count = ll_len(sales);
        for (int i = 0; i < count; i++) {
            std::free(ll_get(sales, i));
        }
        ll_deleteLinkedList(sales);
    }
};
using Sales = std::unique_ptr<LinkedList, SalesReleaser>;

// The growing buffer getline reads into, released with the reader.
struct LineReader {
    char* line = nullptr;
    std::size_t capacity = 0;
    ~LineReader() {
        std::free(line);
    }

    // The next line's length with its line end ("\n" or "\r\n") removed; -1 at the end of the
    // file or on a read error.
    ssize_t next(std::FILE* file) {
        ssize_t length = getline(&line, &capacity, file);
        if (length > 0 && line[length - 1] == '\n') {
            line[--length] = '\0';
        }
        if (length > 0 && line[length - 1] == '\r') {
            line[--length] = '\0';
        }
        return length;
    }
};

// Cuts the line at its commas into fields, in place; false unless there are exactly six.
bool splitFields(char* line, ssize_t length, std::array<char*, kFields>& fields) {
    int count = 1;
    fields[0] = line;
    for (ssize_t i = 0; i < length; i++) {
        if (line[i] != ',') {
            continue;
        }
        if (count == kFields) {
            return false;
        }
        line[i] = '\0';
        fields[count++] = line + i + 1;
    }
    return count == kFields;
}

// Prints the one line that ends the program when the sales cannot be read.
void reportError(const char* path, const char* reason) {
    std::printf("Error leyendo ventas de %s: %s\n", path, reason);
}

// Appends a record for every line after the header to sales; false, having printed why, when
// the file cannot be read, a line has not six fields or memory runs out.
bool loadSales(const char* path, LinkedList* sales) {
    File file(std::fopen(path, "r"));
    if (!file) {
        reportError(path, "no se pudo abrir el archivo");
        return false;
    }
    LineReader reader;
    std::array<char*, kFields> fields{};
    ssize_t length = 0;
    for (long number = 1; (length = reader.next(file.get())) >= 0; number++) {
        if (!splitFields(reader.line, length, fields)) {
            char reason[64];
            std::snprintf(reason, sizeof reason, "la linea %ld no tiene %d campos", number,
                          kFields);
            reportError(path, reason);
            return false;
        }
        if (number == 1) {
            continue; // the header names the fields
        }
        Revelado* revelado = revelado_newParametros(fields[0], fields[1], fields[2], fields[3],
                                                    fields[4], fields[5]);
        if (revelado == nullptr || ll_add(sales, revelado) != 0) {
            std::free(revelado);
            reportError(path, "memoria insuficiente");
            return false;
        }
    }
    if (std::ferror(file.get())) {
        reportError(path, "no se pudo leer el archivo");
        return false;
    }
    return true;
}

// The largest whole sale amount among the sales, 0 when there are none.
float highestSale(LinkedList* sales) {
    const int count = ll_len(sales);
    float highest = 0.0f;
    for (int i = 0; i < count; i++) {
        const float amount = revelados_mayorPreciodeVenta(ll_get(sales, i));
        if (i == 0 || amount > highest) {
            highest = amount;
        }
    }
    return highest;
}

// Prints the five figures about the sales.
void printSummary(LinkedList* sales) {
    std::printf("Fotos reveladas: %d\n", ll_count(sales, revelados_totalesCount));
    std::printf("Ventas mayores a 150: %d\n", ll_count(sales, revelados_ventaMayor150));
    std::printf("Ventas mayores a 300: %d\n", ll_count(sales, revelados_ventaMayor300));
    std::printf("Fotos Polaroid: %d\n", ll_count(sales, revelados_polaroid));
    std::printf("Venta mas alta: %.0f\n", static_cast<double>(highestSale(sales)));
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 2) {
        std::puts("Uso: ventas [ARCHIVO]");
        return 2;
    }
    const char* path = argc == 2 ? argv[1] : kDefaultFile;
    Sales sales(ll_newLinkedList());
    if (!sales) {
        reportError(path, "memoria insuficiente");
        return 1;
    }
    if (!loadSales(path, sales.get())) {
        return 1;
    }
    printSummary(sales.get());
    return 0;
}
