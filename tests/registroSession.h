#ifndef TESTS_REGISTROSESSION_H
#define TESTS_REGISTROSESSION_H

// What the register program's tests share: the program's questions and answers as a session shows
// them, and running it at a pseudo-terminal in a folder with typed lines.

#include "console.h"
#include "files.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace session {

inline constexpr const char* HEADER = "id,nombre,apellido,salario,sector\n";
inline constexpr const char* SESSION_BAD_OPTION = "Opción no válida: elija un número del 1 al 5.\n";
inline constexpr const char* NONE = "No hay empleados cargados.\n";
inline constexpr const char* ALTA_ASKS = "Nombre: Apellido: Salario: Sector: ";
inline constexpr const char* BAD_NAME =
    "El nombre debe tener letras, y solo letras, espacios, y guiones o apóstrofos entre letras.\n";
inline constexpr const char* BAD_SALARY =
    "El salario debe ser un número de 0 a 100000, con punto o coma "
    "decimal y hasta dos decimales.\n";
inline constexpr const char* BAD_SECTOR = "El sector debe ser un número entero de 1 en adelante.\n";
inline constexpr const char* TOO_LONG =
    "Respuesta demasiado larga: se toman hasta 1023 caracteres.\n";
inline constexpr const char* ASK_ID = "Id del empleado (? lista, ?texto busca por apellido): ";
inline constexpr const char* BAD_ID = "El id debe ser un número entero de 1 en adelante.\n";
inline constexpr const char* ASK_FIELD =
    "Campo a modificar (1 nombre, 2 apellido, 3 salario, 4 sector): ";
inline constexpr const char* CONFIRM = "¿Confirma la baja? (s/n): ";
inline constexpr const char* REPORTS =
    "Que desea informar?\n"
    "1. Listado de los empleados ordenados alfabéticamente por Apellido y Sector.\n"
    "2. Total y promedio de los salarios, y cuántos empleados superan el salario promedio.\n"
    "Elija una opcion por numero: \n";

using Lines = std::vector<std::string>;

// The main menu over a register of that many employees in file.
inline std::string menu(int employees, const std::string& file = "empleados.csv",
                        const char* note = "") {
    return "\nRegistro de empleados: " + file + ", " + std::to_string(employees) +
           (employees == 1 ? " empleado" : " empleados") + note +
           "\n1. Alta\n2. Modificar\n3. Baja\n4. Informar\n5. Salir\nUn \".\" como respuesta "
           "cancela el alta, la modificación o la baja en curso.\nElija una opción: ";
}

// Runs registro in dir with the lines typed, then Ctrl-D; the test fails if it hangs or is
// killed (unless typing asks for the kill).
inline console::Run registroIn(const std::filesystem::path& dir, console::Typing typing,
                               const Lines& args = {}) {
    std::vector<std::string> argv{REGISTRO_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    const auto run = console::runProgramAtTerminal(argv, typing, dir);
    EXPECT_FALSE(run.timedOut);
    if (typing.killOnceShown.empty()) {
        EXPECT_EQ(run.signal, 0);
    }
    return run;
}

inline console::Run registroIn(const std::filesystem::path& dir, const Lines& lines,
                               const Lines& args = {}) {
    return registroIn(dir, console::Typing{lines}, args);
}

// The same in a folder of its own, with no register file yet.
inline console::Run registro(const Lines& lines) {
    const console::TempDir dir;
    return registroIn(dir.path(), lines);
}

inline Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Lines alta(const std::string& name, const std::string& lastName, const std::string& salary,
                  const std::string& sector) {
    return {"1", name, lastName, salary, sector};
}

// The menu over `before` employees, an alta answered at the first attempt, and the id given.
inline std::string altaDone(int id, int before) {
    return menu(before) + ALTA_ASKS + "Alta del empleado con id " + std::to_string(id) + ".\n";
}

inline std::string summary(int id, const std::string& fullName, const char* salary, int sector) {
    return "Empleado " + std::to_string(id) + ": " + fullName + ", salario " + salary +
           ", sector " + std::to_string(sector) + ".\n";
}

inline std::string listed(int id, const std::string& name, const std::string& lastName,
                          const char* salary, int sector) {
    return "ID empleado: " + std::to_string(id) + "\n Nombre:" + name + "\n Apellido:" + lastName +
           "\n Salario:" + salary + "\n Sector:" + std::to_string(sector) + "\n";
}

inline std::string figures(const char* total, const char* average, const char* above) {
    return std::string("El salario total es:") + total + "\nEl salario promedio es:" + average +
           "\nLa cantidad de trabajadores por encima del salario promedio es:" + above + "\n";
}

inline std::string orderedList() {
    return REPORTS + std::string("Ingrese 0 para ascendente o 1 para descendente:\n");
}

} // namespace session

#endif
