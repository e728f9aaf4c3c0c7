// The register program as built, run at a pseudo-terminal in a folder of its own: typed lines in,
// every byte it printed and its exit status out.
#include "console.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr const char* kMenu = "\nRegistro de empleados\n"
                              "1. Alta\n"
                              "2. Modificar\n"
                              "3. Baja\n"
                              "4. Informar\n"
                              "5. Salir\n"
                              "Elija una opción: ";
constexpr const char* kBadOption = "Opción no válida: elija un número del 1 al 5.\n";
constexpr const char* kNone = "No hay empleados cargados.\n";
constexpr const char* kAltaAsks = "Nombre: Apellido: Salario: Sector: ";
constexpr const char* kBadName = "El nombre debe tener letras, y solo letras y espacios.\n";
constexpr const char* kBadSalary =
    "El salario debe ser un número de 0 en adelante, con punto decimal.\n";
constexpr const char* kBadSector = "El sector debe ser un número entero de 1 en adelante.\n";
constexpr const char* kAskId = "Id del empleado: ";
constexpr const char* kAskField = "Campo a modificar (1 nombre, 2 apellido, 3 salario, 4 sector): ";
constexpr const char* kConfirm = "¿Confirma la baja? (s/n): ";
constexpr const char* kReports =
    "Que desea informar?\n"
    "1. Listado de los empleados ordenados alfabéticamente por Apellido y Sector.\n"
    "2. Total y promedio de los salarios, y cuántos empleados superan el salario promedio.\n"
    "Elija una opcion por numero: \n";

using Lines = std::vector<std::string>;

struct Session {
    std::string output;
    int exitCode;
};

// Runs registro with the lines typed, then Ctrl-D; the test fails if it hangs or is killed.
Session registro(const Lines& lines,
                 std::chrono::milliseconds timeout = std::chrono::milliseconds{5000}) {
    console::TempDir dir;
    const auto run =
        console::runProgramAtTerminal({REGISTRO_PATH}, {lines, true, timeout}, dir.path());
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.signal, 0);
    return {run.output, run.exitCode};
}

Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Lines alta(const std::string& name, const std::string& lastName, const std::string& salary,
           const std::string& sector) {
    return {"1", name, lastName, salary, sector};
}

// The menu, the four questions of an alta answered at the first attempt, and the id given.
std::string altaDone(int id) {
    return kMenu + std::string(kAltaAsks) + "Alta del empleado con id " + std::to_string(id) +
           ".\n";
}

std::string summary(int id, const std::string& fullName, const char* salary, int sector) {
    return "Empleado " + std::to_string(id) + ": " + fullName + ", salario " + salary +
           ", sector " + std::to_string(sector) + ".\n";
}

std::string listed(int id, const char* name, const char* lastName, const char* salary, int sector) {
    return "ID empleado: " + std::to_string(id) + "\n Nombre:" + name + "\n Apellido:" + lastName +
           "\n Salario:" + salary + "\n Sector:" + std::to_string(sector) + "\n";
}

std::string figures(const char* total, const char* average, const char* above) {
    return std::string("El salario total es:") + total + "\nEl salario promedio es:" + average +
           "\nLa cantidad de trabajadores por encima del salario promedio es:" + above + "\n";
}

TEST(Registro, SessionOfAltasAModificarABajaAndReports) {
    const auto session = registro(
        alta("Ana", "Paz", "1500.5", "2") + alta("Luis", "Rey", "300", "3") +
        Lines{"1", "Eva", "Alba", "mil", "1000", "1"} + Lines{"4", "2"} +
        Lines{"2", "2", "3", "2000"} + Lines{"3", "1", "s"} + Lines{"4", "2", "4", "1", "0", "5"});
    EXPECT_EQ(session.exitCode, 0);
    EXPECT_EQ(session.output,
              altaDone(1) + altaDone(2) + kMenu + "Nombre: Apellido: Salario: " + kBadSalary +
                  "Salario: Sector: Alta del empleado con id 3.\n" + kMenu + kReports +
                  figures("2800.50", "933.50", "2") + kMenu + kAskId +
                  summary(2, "Luis Rey", "300.00", 3) + kAskField +
                  "Salario: Empleado modificado.\n" + summary(2, "Luis Rey", "2000.00", 3) + kMenu +
                  kAskId + summary(1, "Ana Paz", "1500.50", 2) + kConfirm +
                  "Baja del empleado con id 1.\n" + kMenu + kReports +
                  figures("3000.00", "1500.00", "1") + kMenu + kReports +
                  "Ingrese 0 para ascendente o 1 para descendente:\n" +
                  listed(3, "Eva", "Alba", "1000.00", 1) + listed(2, "Luis", "Rey", "2000.00", 3) +
                  kMenu);
}

TEST(Registro, ABadMenuLineShowsTheMenuAgain) {
    const auto session = registro({"9", "x", "", "0", "5"});
    EXPECT_EQ(session.exitCode, 0);
    std::string expected;
    for (int i = 0; i < 4; ++i) {
        expected += kMenu + std::string(kBadOption);
    }
    EXPECT_EQ(session.output, expected + kMenu);
}

TEST(Registro, OptionsOtherThanAltaNeedAnEmployee) {
    const auto session = registro({"2", "3", "4", "5"});
    EXPECT_EQ(session.exitCode, 0);
    EXPECT_EQ(session.output, kMenu + std::string(kNone) + kMenu + kNone + kMenu + kNone + kMenu);

    // Removing the only employee brings the message back.
    const auto emptied = registro(alta("Ana", "Paz", "1", "1") + Lines{"3", "1", "s", "4"});
    EXPECT_EQ(emptied.output, altaDone(1) + kMenu + kAskId + summary(1, "Ana Paz", "1.00", 1) +
                                  kConfirm + "Baja del empleado con id 1.\n" + kMenu + kNone +
                                  kMenu + "\n");
}

TEST(Registro, EndOfInputAtAnyQuestionEndsTheProgramAtOnce) {
    EXPECT_EQ(registro({}).output, kMenu + std::string("\n"));
    EXPECT_EQ(registro({"1", "Ana"}).output, kMenu + std::string("Nombre: Apellido: \n"));
    EXPECT_EQ(registro({"1", "Ana", "Paz", "x"}).output,
              kMenu + std::string("Nombre: Apellido: Salario: ") + kBadSalary + "Salario: \n");
    EXPECT_EQ(registro({"1", "Ana", "Paz", "10"}).output, kMenu + std::string(kAltaAsks) + "\n");

    const auto one = alta("Ana", "Paz", "10", "1");
    const std::string asked = altaDone(1) + kMenu + kAskId + summary(1, "Ana Paz", "10.00", 1);
    EXPECT_EQ(registro(one + Lines{"3", "1"}).output, asked + kConfirm + "\n");
    EXPECT_EQ(registro(one + Lines{"2", "1"}).output, asked + kAskField + "\n");
    EXPECT_EQ(registro(one + Lines{"4"}).output,
              altaDone(1) + kMenu + kReports + "Opcion no valida.\n\n");
    for (const auto& lines : {Lines{}, {"1", "Ana"}, {"3"}}) {
        EXPECT_EQ(registro(one + lines).exitCode, 0);
    }
}

TEST(Registro, AltaRefusesBadAnswersAndGivesUpAfterThreeAttempts) {
    const std::string longName(60, 'a');
    const auto session =
        registro(Lines{"1", "Ana1", "   ", "", "1", longName, "De la Paz", "", "0", "x", "4"} +
                 Lines{"2", "1", "1", "x1", "", " ", "5"});
    EXPECT_EQ(session.exitCode, 0);
    EXPECT_EQ(session.output, kMenu + std::string("Nombre: ") + kBadName + "Nombre: " + kBadName +
                                  "Nombre: " + kBadName + "Alta cancelada.\n" + kMenu +
                                  "Nombre: Apellido: Salario: Sector: " + kBadSector +
                                  "Sector: " + kBadSector +
                                  "Sector: Alta del empleado con id 1.\n" + kMenu + kAskId +
                                  summary(1, std::string(50, 'a') + " De la Paz", "0.00", 4) +
                                  kAskField + "Nombre: " + kBadName + "Nombre: " + kBadName +
                                  "Nombre: " + kBadName + "Modificación cancelada.\n" + kMenu);
}

TEST(Registro, ModificarChangesTheFieldItIsToldAndNothingElse) {
    const std::string longName(51, 'z');
    const auto session =
        registro(alta("Ana", "Paz", "10", "1") + alta("Eva", "Sol", "20", "2") + Lines{"2", "7"} +
                 Lines{"2", "2", "5", "1", "Maria Jose"} + Lines{"2", "2", "2", longName} +
                 Lines{"2", "2", "4", "9"} + Lines{"4", "1", "0", "5"});
    EXPECT_EQ(session.exitCode, 0);
    const std::string asked = kMenu + std::string(kAskId);
    const std::string cut(50, 'z');
    EXPECT_EQ(session.output,
              altaDone(1) + altaDone(2) + asked + "No hay un empleado con el id 7.\n" + asked +
                  summary(2, "Eva Sol", "20.00", 2) + kAskField + "Elija un campo del 1 al 4.\n" +
                  kAskField + "Nombre: Empleado modificado.\n" +
                  summary(2, "Maria Jose Sol", "20.00", 2) + asked +
                  summary(2, "Maria Jose Sol", "20.00", 2) + kAskField +
                  "Apellido: Empleado modificado.\n" + summary(2, "Maria Jose " + cut, "20.00", 2) +
                  asked + summary(2, "Maria Jose " + cut, "20.00", 2) + kAskField +
                  "Sector: Empleado modificado.\n" + summary(2, "Maria Jose " + cut, "20.00", 9) +
                  kMenu + kReports + "Ingrese 0 para ascendente o 1 para descendente:\n" +
                  listed(1, "Ana", "Paz", "10.00", 1) +
                  listed(2, "Maria Jose", cut.c_str(), "20.00", 9) + kMenu);
}

TEST(Registro, BajaNeedsAnSAloneAndIdsAreNotGivenTwice) {
    const auto session =
        registro(alta("Ana", "Paz", "10", "1") + alta("Eva", "Sol", "20", "2") +
                 Lines{"3", "2", "n"} + Lines{"3", "2", "si"} + Lines{"3", "2", "S"} +
                 Lines{"3", "2"} + alta("Juan", "Rey", "30", "3") + Lines{"5"});
    EXPECT_EQ(session.exitCode, 0);
    const std::string askEva =
        kMenu + std::string(kAskId) + summary(2, "Eva Sol", "20.00", 2) + kConfirm;
    EXPECT_EQ(session.output, altaDone(1) + altaDone(2) + askEva + "Baja cancelada.\n" + askEva +
                                  "Baja cancelada.\n" + askEva + "Baja del empleado con id 2.\n" +
                                  kMenu + kAskId + "No hay un empleado con el id 2.\n" +
                                  altaDone(3) + kMenu);
}

TEST(Registro, AFullTableRefusesAnotherAlta) {
    Lines lines;
    std::string expected;
    for (int id = 1; id <= 1000; ++id) {
        lines = lines + alta("Ana", "Paz", "1", "1");
        expected += altaDone(id);
    }
    const auto session =
        registro(lines + Lines{"1", "4", "2", "5"}, std::chrono::milliseconds{30000});
    EXPECT_EQ(session.exitCode, 0);
    EXPECT_EQ(session.output, expected + kMenu +
                                  "La tabla está llena: no se pueden dar más altas.\n" + kMenu +
                                  kReports + figures("1000.00", "1.00", "0") + kMenu);
}

} // namespace
