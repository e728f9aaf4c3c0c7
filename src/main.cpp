// The salary export: reads the payroll "archivo.csv", computes every employee's salary and writes
// them all to "sueldos.csv", one line "id,nombre,horasTrabajadas,sueldo" each.
#include "Empleado.h"
#include "LinkedList.h"
#include "Parser.h"

#include <climits>
#include <cstdio>
#include <cstring>

int generarArchivoSueldos(char* fileName, LinkedList* listaEmpleados);

namespace {

constexpr char kArchivoEmpleados[] = "archivo.csv";
constexpr char kArchivoSueldos[] = "sueldos.csv";

// The employees, reachable until the process ends: the records and the list are never released.
LinkedList* empleados = nullptr;

// Appends the decimal digits of value (with a '-' when negative) at out; returns the end.
char* appendInt(char* out, int value) {
    // Unsigned, so that the magnitude of INT_MIN is representable.
    unsigned magnitude = static_cast<unsigned>(value);
    if (value < 0) {
        *out++ = '-';
        magnitude = 0u - magnitude;
    }
    char digits[10];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    while (count > 0) {
        *out++ = digits[--count];
    }
    return out;
}

// The salary file, written through one large block buffer: the same bytes as fprintf with
// "%d,%s,%d,%d\n" per employee, without parsing a format a million times. Every failure sticks,
// and close() reports whether everything reached the file.
class SalaryFile {
  public:
    explicit SalaryFile(const char* fileName)
        : file_(fileName != nullptr ? std::fopen(fileName, "w") : nullptr) {}
    SalaryFile(const SalaryFile&) = delete;
    SalaryFile& operator=(const SalaryFile&) = delete;
    ~SalaryFile() {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
    }

    bool isOpen() const {
        return file_ != nullptr;
    }

    // Buffers the employee's line; false once anything failed to be written.
    bool writeLine(const Empleado& empleado) {
        if (kBufferSize - used_ < kLongestLine && !flush()) {
            return false;
        }
        char* out = buffer_ + used_;
        out = appendInt(out, empleado.id);
        *out++ = ',';
        // Bounded: a name that lost its NUL still ends with the field.
        const size_t nombreLength = strnlen(empleado.nombre, sizeof empleado.nombre);
        std::memcpy(out, empleado.nombre, nombreLength);
        out += nombreLength;
        *out++ = ',';
        out = appendInt(out, empleado.horasTrabajadas);
        *out++ = ',';
        out = appendInt(out, empleado.sueldo);
        *out++ = '\n';
        used_ = static_cast<size_t>(out - buffer_);
        return true;
    }

    // Writes out what is buffered and closes the file; false if any byte did not reach it.
    bool close() {
        const bool flushed = flush();
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        return flushed && closed;
    }

  private:
    static constexpr size_t kBufferSize = size_t{64} * 1024;
    static constexpr size_t kLongestLine = size_t{3} * 11 + sizeof(Empleado::nombre) + 4;

    bool flush() {
        if (failed_) {
            return false;
        }
        failed_ = std::fwrite(buffer_, 1, used_, file_) != used_;
        used_ = 0;
        return !failed_;
    }

    std::FILE* file_;
    char buffer_[kBufferSize];
    size_t used_ = 0;
    bool failed_ = false;
};

} // namespace

// Writes a line per employee of the list, in list order, to fileName (created or emptied first,
// also for a null list); an index without an element writes nothing. Returns 1 when every line
// reached the file, else -1; prints "El archivo se guardo exitosamente" on success and "Hubo un
// error al guardar el archivo" when the list reports a negative length.
int generarArchivoSueldos(char* fileName, LinkedList* listaEmpleados) {
    SalaryFile file(fileName);
    if (listaEmpleados == nullptr || !file.isOpen()) {
        return -1;
    }
    const int len = ll_len(listaEmpleados);
    if (len < 0) {
        std::puts("Hubo un error al guardar el archivo");
        return -1;
    }
    for (int i = 0; i < len; ++i) {
        const auto* empleado = static_cast<const Empleado*>(ll_get(listaEmpleados, i));
        if (empleado != nullptr && !file.writeLine(*empleado)) {
            return -1;
        }
    }
    // A full disk often shows only when the last block is written or the file closed.
    if (!file.close()) {
        return -1;
    }
    std::puts("El archivo se guardo exitosamente");
    return 1;
}

int main(void) {
    empleados = ll_newLinkedList();
    if (parser_parseEmpleados(const_cast<char*>(kArchivoEmpleados), empleados) != 1) {
        std::puts("Error leyendo empleados");
        return 0;
    }
    std::puts("Calculando sueldos de empleados");
    ll_map(empleados, em_calcularSueldo);
    if (generarArchivoSueldos(const_cast<char*>(kArchivoSueldos), empleados) == 1) {
        std::puts("Archivo generado correctamente");
    } else {
        std::puts("Error generando archivo");
    }
    return 0;
}
