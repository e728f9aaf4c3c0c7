// Writes text, the raw bytes of an integer and the integer as text to one file, then reads the
// file's first four bytes back as an integer: what a file holds is bytes, whatever was meant.
// Exits 0 after printing the integer, 1 when the file could not be created, written or read back
// (saying so in one line), 2 for a wrong command line.
#include "Diagnostic.h"
#include "File.h"
#include "status.h"
#include "usage.h"

#include <cerrno>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

constexpr const char* FILE_NAME = "archivo.txt";

constexpr CommandLine::Program PROGRAM = {
    "ioPrimer",
    true,
    "",
    "\n"
    "Escribe archivo.txt en la carpeta actual (el texto \"Hola\" con su fin de línea, los cuatro\n"
    "bytes del entero 456984 y el mismo entero como texto), vuelve a abrirlo, lee sus cuatro\n"
    "primeros bytes como un entero y lo muestra.\n"
    "\n",
    {},
    "\n"
    "Sale con 0 si lo mostró, 1 si no pudo crear, escribir o leer el archivo, 2 si recibe\n"
    "argumentos.\n",
    0,
    false,
    Speaks::spanish,
};

constexpr int NUMBER = 456984;

// Writes the demo file's three pieces and closes it; false, with errno set, when any of it did
// not reach the file (a full disk often shows only at the close).
bool writeDemoFile(File file) {
    std::fwrite("Hola\n", 1, 5, file.get());
    std::fwrite(&NUMBER, sizeof NUMBER, 1, file.get());
    std::fprintf(file.get(), "%d", NUMBER);
    const bool written = std::ferror(file.get()) == 0;
    const int writeError = errno;
    const bool closed = std::fclose(file.release()) == 0;
    if (!written) {
        errno = writeError;
    }
    return written && closed;
}

// Writes the demo file and reads its first four bytes back into readBack, printing what the
// user sees; false, having said what failed, when any step did.
bool writeAndReadBack(int& readBack) {
    File out(std::fopen(FILE_NAME, "w"));
    if (!out) {
        reportSystemError(FILE_NAME, "no se pudo crear", errno);
        return false;
    }
    std::puts("Abrio");
    if (!writeDemoFile(std::move(out))) {
        reportSystemError(FILE_NAME, "no se pudo escribir", errno);
        return false;
    }
    const File in(std::fopen(FILE_NAME, "r"));
    if (!in) {
        reportSystemError(FILE_NAME, "no se pudo abrir para leer", errno);
        return false;
    }
    if (std::fread(&readBack, sizeof readBack, 1, in.get()) != 1) {
        if (std::ferror(in.get()) != 0) {
            reportSystemError(FILE_NAME, "no se pudo leer", errno);
        } else {
            reportFile(FILE_NAME, "no se pudo leer el entero: el archivo tiene menos de 4 bytes");
        }
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    std::vector<const char*> none;
    if (const auto status = CommandLine(PROGRAM, argc, argv).read({}, none)) {
        return *status;
    }
    int readBack = 0;
    if (!writeAndReadBack(readBack)) {
        return EXIT_FAILED;
    }
    std::printf("lei la variable %d", readBack);
    return flushOutput() ? EXIT_OK : EXIT_FAILED;
}
