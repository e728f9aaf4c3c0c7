// ventas [FILE]: reads the sales of the photo-development counter from a comma-separated file
// (ventas.csv in the current folder by default), keeps them in a list and prints five figures
// about them. A file that cannot be read or a malformed line prints "FILE:LINE: reason" and ends
// the program with status 1, as does a failure to print the figures; a wrong command line ends
// it with 2 (a file whose name starts with '-' goes after "--").
#include "Diagnostic.h"
#include "Fields.h"
#include "File.h"
#include "LineReader.h"
#include "LinkedList.h"
#include "RecordLines.h"
#include "Revelados.h"
#include "status.h"
#include "usage.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

namespace {

constexpr const char* DEFAULT_FILE = "ventas.csv";
constexpr size_t FIELDS = 6;
constexpr std::string_view HEADER =
    "id_venta,fecha_venta,tipo_foto,cantidad,precio_unitario,cuit_cliente";

constexpr CommandLine::Program PROGRAM = {
    "ventas",
    true,
    " [ARCHIVO]",
    "\n"
    "Lee las ventas de ARCHIVO (ventas.csv de la carpeta actual si no se indica) y muestra las\n"
    "fotos reveladas, las ventas mayores a 150 y a 300, las fotos Polaroid y la venta más alta.\n"
    "El archivo: la línea\n"
    "id_venta,fecha_venta,tipo_foto,cantidad,precio_unitario,cuit_cliente\n"
    "y luego una venta por línea con esos seis campos: id_venta y cantidad enteros,\n"
    "precio_unitario un número decimal con punto; las líneas en blanco no cuentan.\n"
    "Un ARCHIVO cuyo nombre empieza con - va después de --.\n"
    "\n",
    {},
    "\n"
    "Sale con 0 si mostró las cifras, 1 si el archivo no se pudo leer o tiene una línea mal\n"
    "formada, 2 con una opción desconocida o más de un archivo.\n",
    1,
    false,
    Speaks::spanish,
};

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

// Cuts the NUL-terminated line of the given length at its commas (see splitAtCommas) into C
// strings, in place: a NUL ends each field. The number of fields the line has; past FIELDS, the
// last one kept holds the rest of the line.
size_t cutIntoCStrings(char* line, size_t length, std::array<char*, FIELDS>& fields) {
    std::array<std::string_view, FIELDS> views;
    size_t count = splitAtCommas(std::string_view(line, length), views);
    if (count == FIELDS) {
        // The last field holds the rest of the line: each comma there is one field more.
        count += static_cast<size_t>(std::count(views.back().begin(), views.back().end(), ','));
    }
    for (size_t i = 0; i < std::min(count, FIELDS); ++i) {
        const size_t start = static_cast<size_t>(views[i].data() - line);
        line[start + views[i].size()] = '\0';
        fields[i] = line + start;
    }
    return count;
}

// Whether text is a decimal number with a point: an optional '-', digits, and at most one '.'
// among or after them (5, 2.75, 5., .5), nothing else.
bool isDecimal(std::string_view text) {
    if (text.starts_with('-')) {
        text.remove_prefix(1);
    }
    bool digits = false;
    bool point = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digits;
}

constexpr IntegerRefusals ID_REFUSALS = integerRefusals("el id de venta");
constexpr IntegerRefusals CANTIDAD = integerRefusals("la cantidad");

// What is wrong with a sale's numbers (id_venta, cantidad, precio_unitario), checked in field
// order; nullptr when they are sound. bad receives the offending field.
const char* checkNumbers(const std::array<char*, FIELDS>& fields, const char*& bad) {
    int ignored = 0;
    bad = fields[0];
    if (const char* refusal = readInt32(fields[0], ignored, ID_REFUSALS)) {
        return refusal;
    }
    bad = fields[3];
    if (const char* refusal = readInt32(fields[3], ignored, CANTIDAD)) {
        return refusal;
    }
    bad = fields[4];
    if (!isDecimal(fields[4])) {
        return "el precio unitario no es un número decimal";
    }
    if (!std::isfinite(std::strtof(fields[4], nullptr))) {
        return "el precio unitario es demasiado grande";
    }
    return nullptr;
}

// Makes a sale of the line numbered number and appends it to sales; false, having printed where
// and why, when the line is malformed (a NUL byte in it included) or memory runs out. The line is
// cut into fields in copy, which has room for it and its NUL.
bool addSale(const char* path, long number, std::string_view line, char* copy, LinkedList* sales) {
    // The record keeps its fields as C strings: a NUL would end a field there, silently.
    if (line.find('\0') != std::string_view::npos) {
        reportLine(path, number, "la línea tiene un byte nulo", line);
        return false;
    }
    std::memcpy(copy, line.data(), line.size());
    copy[line.size()] = '\0';
    std::array<char*, FIELDS> fields{};
    const size_t count = cutIntoCStrings(copy, line.size(), fields);
    if (count != FIELDS) {
        char reason[64];
        std::snprintf(reason, sizeof reason, "la línea tiene %zu campos y no %zu", count, FIELDS);
        reportLine(path, number, reason, line);
        return false;
    }
    const char* bad = nullptr;
    if (const char* reason = checkNumbers(fields, bad)) {
        reportLine(path, number, reason, bad);
        return false;
    }
    Revelado* revelado =
        revelado_newParametros(fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]);
    if (revelado == nullptr || ll_add(sales, revelado) != 0) {
        std::free(revelado);
        reportFile(path, "memoria insuficiente");
        return false;
    }
    return true;
}

// Appends a record for every sale line after the header to sales, skipping blank lines; false,
// having printed where and why, when the file cannot be read, it does not start with the header,
// a line is malformed or memory runs out.
bool loadSales(const char* path, LinkedList* sales) {
    const File file(std::fopen(path, "r"));
    if (!file) {
        reportSystemError(path, "no se pudo abrir", errno);
        return false;
    }
    LineReader reader(file.get());
    // A line cut into fields needs a copy of its own: the reader's stays read-only.
    const std::unique_ptr<char[]> copy(new (std::nothrow) char[reader.longestLine() + 1]);
    if (!copy) {
        reportFile(path, "memoria insuficiente");
        return false;
    }
    return readRecordLines(path, reader, HEADER, [&](std::string_view line, long number) {
        return addSale(path, number, line, copy.get(), sales);
    });
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
    std::vector<const char*> file;
    if (const auto status = CommandLine(PROGRAM, argc, argv).read({}, file)) {
        return *status;
    }
    const char* path = file.empty() ? DEFAULT_FILE : file.front();
    const Sales sales(ll_newLinkedList());
    if (!sales) {
        reportFile(path, "memoria insuficiente");
        return EXIT_FAILED;
    }
    if (!loadSales(path, sales.get())) {
        return EXIT_FAILED;
    }
    printSummary(sales.get());
    return flushOutput() ? EXIT_OK : EXIT_FAILED;
}
