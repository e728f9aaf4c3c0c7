#include "salaryWriter.h"

#include "AtomicFile.h"
#include "Empleado.h"
#include "Parser.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace {

// Appends the decimal digits of value (with a '-' when negative) at out; returns the end. Eleven
// characters always fit: the caller keeps that much room.
char* appendInt(char* out, int value) {
    return std::to_chars(out, out + 11, value).ptr;
}

// The salary lines, formatted into one large block buffer and handed to a stream a block at a
// time: the same bytes as fprintf with "%d,%s,%d,%d\n" per employee, without parsing a format a
// million times. Every failure sticks.
class SalaryLines {
  public:
    explicit SalaryLines(std::FILE* file) : file_(file) {}
    SalaryLines(const SalaryLines&) = delete;
    SalaryLines& operator=(const SalaryLines&) = delete;

    // Buffers the employee's line; false once anything failed to be written.
    bool write(const Empleado& empleado) {
        if (BUFFER_SIZE - used_ < LONGEST_LINE && !flush()) {
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

    // Hands what is buffered to the stream; false if anything failed to be written so far.
    bool flush() {
        if (failed_) {
            return false;
        }
        failed_ = std::fwrite(buffer_, 1, used_, file_) != used_;
        used_ = 0;
        return !failed_;
    }

  private:
    static constexpr size_t BUFFER_SIZE = size_t{64} * 1024;
    static constexpr size_t LONGEST_LINE = size_t{3} * 11 + sizeof(Empleado::nombre) + 4;

    std::FILE* file_;
    char buffer_[BUFFER_SIZE];
    size_t used_ = 0;
    bool failed_ = false;
};

} // namespace

int generarArchivoSueldos(char* fileName, LinkedList* listaEmpleados) {
    AtomicFile file;
    if (fileName == nullptr || listaEmpleados == nullptr || !file.open(fileName)) {
        return -1;
    }
    // The salaries written over their own payroll would lose it.
    if (file.sameFileAs(ARCHIVO_EMPLEADOS)) {
        return -1;
    }
    const int len = ll_len(listaEmpleados);
    if (len < 0) {
        std::puts("Hubo un error al guardar el archivo");
        return -1;
    }
    SalaryLines lines(file.stream());
    for (int i = 0; i < len; ++i) {
        const auto* empleado = static_cast<const Empleado*>(ll_get(listaEmpleados, i));
        if (empleado != nullptr && !lines.write(*empleado)) {
            return -1;
        }
    }
    // A full disk often shows only when the last block is written, synced or closed: commit()
    // sees all of it. Until it succeeds the old file stays, and the destructor removes the new.
    if (!lines.flush() || !file.commit()) {
        return -1;
    }
    std::puts("El archivo se guardo exitosamente");
    return 1;
}
