// registro [ARCHIVO]: the employee register at the console. The register lives in ARCHIVO
// (empleados.csv in the current folder by default), read when the session starts and saved after
// every change; a menu adds, changes and removes employees and shows the reports. One session at
// a time per file.
#include "answers.h"
#include "dialogue.h"
#include "registerFile.h"
#include "sessionLock.h"
#include "status.h"
#include "usage.h"

#include <cstdio>

namespace {

constexpr const char* DEFAULT_FILE = "empleados.csv";

constexpr const char* USAGE =
    "Uso: registro [ARCHIVO]\n"
    "Lleva el registro de empleados en ARCHIVO (empleados.csv en la carpeta actual si no se\n"
    "da): lo lee al empezar y lo guarda después de cada alta, modificación o baja.\n"
    "Las respuestas se leen de la entrada estándar, una por línea.\n";

Register staff;

} // namespace

int main(int argc, char** argv) {
    // An argument that starts with '-' is an option, --help or -h or else an unknown one (a file
    // named so goes as ./-x); an empty one names no file.
    if (argc > 2 || (argc == 2 && (argv[1][0] == '-' || argv[1][0] == '\0'))) {
        return showUsage(USAGE, argc == 2 && asksForHelp(argv[1]));
    }
    staff.path = argc == 2 ? argv[1] : DEFAULT_FILE;
    SessionLock lock;
    switch (lock.take(staff.path)) {
    case SessionLock::Result::held:
        break;
    case SessionLock::Result::taken:
        std::printf("%s: el registro está abierto en otra sesión.\n", staff.path);
        return EXIT_FAILED;
    default:
        std::printf("%s: no se pudo tomar el candado %s (%s).\n", staff.path, lock.path().c_str(),
                    lock.reason().c_str());
        return EXIT_FAILED;
    }
    if (!loadRegister(staff)) {
        return EXIT_FAILED;
    }
    setUpAnswers();
    return runDialogue(staff);
}
