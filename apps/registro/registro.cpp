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
#include <vector>

namespace {

constexpr const char* DEFAULT_FILE = "empleados.csv";

constexpr CommandLine::Program PROGRAM = {
    "registro",
    true,
    " [ARCHIVO]",
    "\n"
    "Lleva el registro de empleados en ARCHIVO (empleados.csv en la carpeta actual si no se\n"
    "da): lo lee al empezar y lo guarda después de cada alta, modificación o baja.\n"
    "Las respuestas se leen de la entrada estándar, una por línea.\n"
    "Un ARCHIVO cuyo nombre empieza con - va después de --.\n"
    "\n",
    {},
    "\n"
    "Sale con 0 al terminar la sesión con todo guardado, 1 si el registro no se pudo leer, está\n"
    "abierto en otra sesión o quedaron cambios sin guardar, 2 con una opción desconocida o más\n"
    "de un archivo.\n",
    1,
    false,
    Speaks::spanish,
};

Register staff;

} // namespace

int main(int argc, char** argv) {
    std::vector<const char*> file;
    if (const auto status = CommandLine(PROGRAM, argc, argv).read({}, file)) {
        return *status;
    }
    staff.path = file.empty() ? DEFAULT_FILE : file.front();
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
