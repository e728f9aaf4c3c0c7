// The register program as built, run at a pseudo-terminal (or with a pipe) in a folder of its
// own: typed lines in, every byte it printed, its exit status and the register file out.
#include "console.h"
#include "files.h"
#include "smallDisk.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kHeader = "id,nombre,apellido,salario,sector\n";
constexpr const char* kBadOption = "Opción no válida: elija un número del 1 al 5.\n";
constexpr const char* kNone = "No hay empleados cargados.\n";
constexpr const char* kAltaAsks = "Nombre: Apellido: Salario: Sector: ";
constexpr const char* kBadName =
    "El nombre debe tener letras, y solo letras, espacios, y guiones o apóstrofos entre letras.\n";
constexpr const char* kBadSalary = "El salario debe ser un número de 0 a 100000, con punto o coma "
                                   "decimal y hasta dos decimales.\n";
constexpr const char* kBadSector = "El sector debe ser un número entero de 1 en adelante.\n";
constexpr const char* kTooLong = "Respuesta demasiado larga: se toman hasta 1023 caracteres.\n";
constexpr const char* kAskId = "Id del empleado (? lista, ?texto busca por apellido): ";
constexpr const char* kBadId = "El id debe ser un número entero de 1 en adelante.\n";
constexpr const char* kAskField = "Campo a modificar (1 nombre, 2 apellido, 3 salario, 4 sector): ";
constexpr const char* kConfirm = "¿Confirma la baja? (s/n): ";
constexpr const char* kReports =
    "Que desea informar?\n"
    "1. Listado de los empleados ordenados alfabéticamente por Apellido y Sector.\n"
    "2. Total y promedio de los salarios, y cuántos empleados superan el salario promedio.\n"
    "Elija una opcion por numero: \n";

using Lines = std::vector<std::string>;

// The main menu over a register of that many employees in file.
std::string menu(int employees, const std::string& file = "empleados.csv", const char* note = "") {
    return "\nRegistro de empleados: " + file + ", " + std::to_string(employees) +
           (employees == 1 ? " empleado" : " empleados") + note +
           "\n1. Alta\n2. Modificar\n3. Baja\n4. Informar\n5. Salir\nUn \".\" como respuesta "
           "cancela el alta, la modificación o la baja en curso.\nElija una opción: ";
}

// Runs registro in dir with the lines typed, then Ctrl-D; the test fails if it hangs or is
// killed (unless typing asks for the kill).
console::Run registroIn(const fs::path& dir, console::Typing typing, const Lines& args = {}) {
    std::vector<std::string> argv{REGISTRO_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    const auto run = console::runProgramAtTerminal(argv, typing, dir);
    EXPECT_FALSE(run.timedOut);
    if (typing.killOnceShown.empty()) {
        EXPECT_EQ(run.signal, 0);
    }
    return run;
}

console::Run registroIn(const fs::path& dir, const Lines& lines, const Lines& args = {}) {
    return registroIn(dir, console::Typing{lines}, args);
}

// The same in a folder of its own, with no register file yet.
console::Run registro(const Lines& lines) {
    const console::TempDir dir;
    return registroIn(dir.path(), lines);
}

Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Lines alta(const std::string& name, const std::string& lastName, const std::string& salary,
           const std::string& sector) {
    return {"1", name, lastName, salary, sector};
}

// The menu over `before` employees, an alta answered at the first attempt, and the id given.
std::string altaDone(int id, int before) {
    return menu(before) + kAltaAsks + "Alta del empleado con id " + std::to_string(id) + ".\n";
}

std::string summary(int id, const std::string& fullName, const char* salary, int sector) {
    return "Empleado " + std::to_string(id) + ": " + fullName + ", salario " + salary +
           ", sector " + std::to_string(sector) + ".\n";
}

std::string listed(int id, const std::string& name, const std::string& lastName, const char* salary,
                   int sector) {
    return "ID empleado: " + std::to_string(id) + "\n Nombre:" + name + "\n Apellido:" + lastName +
           "\n Salario:" + salary + "\n Sector:" + std::to_string(sector) + "\n";
}

std::string figures(const char* total, const char* average, const char* above) {
    return std::string("El salario total es:") + total + "\nEl salario promedio es:" + average +
           "\nLa cantidad de trabajadores por encima del salario promedio es:" + above + "\n";
}

std::string orderedList() {
    return kReports + std::string("Ingrese 0 para ascendente o 1 para descendente:\n");
}

TEST(Registro, SessionOfAltasAModificarABajaAndReports) {
    const console::TempDir dir;
    const auto session =
        registroIn(dir.path(), alta("Ana", "Paz", "1500.5", "2") + alta("Luis", "Rey", "300", "3") +
                                   Lines{"1", "Eva", "Alba", "mil", "1000", "1"} + Lines{"4", "2"} +
                                   Lines{"2", "2", "3", "2000"} + Lines{"3", "1", "s"} +
                                   Lines{"4", "2", "4", "1", "0", "5"});
    EXPECT_EQ(session.exitCode, 0);
    EXPECT_EQ(
        session.output,
        altaDone(1, 0) + altaDone(2, 1) + menu(2) + "Nombre: Apellido: Salario: " + kBadSalary +
            "Salario: Sector: Alta del empleado con id 3.\n" + menu(3) + kReports +
            figures("2800.50", "933.50", "2") + menu(3) + kAskId +
            summary(2, "Luis Rey", "300.00", 3) + kAskField + "Salario: Empleado modificado.\n" +
            summary(2, "Luis Rey", "2000.00", 3) + menu(3) + kAskId +
            summary(1, "Ana Paz", "1500.50", 2) + kConfirm + "Baja del empleado con id 1.\n" +
            menu(2) + kReports + figures("3000.00", "1500.00", "1") + menu(2) + orderedList() +
            listed(3, "Eva", "Alba", "1000.00", 1) + listed(2, "Luis", "Rey", "2000.00", 3) +
            menu(2));
    EXPECT_EQ(console::readFile(dir / "empleados.csv"),
              kHeader + std::string("2,Luis,Rey,2000.00,3\n3,Eva,Alba,1000.00,1\n"));
}

TEST(Registro, KeepsTheRegisterAcrossSessionsAndIdsGoOnFromTheHighest) {
    const console::TempDir dir;
    const auto first =
        registroIn(dir.path(), alta("José", "Pérez-López", "1234.56", "3") +
                                   alta("Ana", "O'Brien", "10", "1") +
                                   alta("Eva", "Muñoz", "20", "2") + Lines{"3", "2", "s"});
    EXPECT_EQ(first.exitCode, 0);
    const std::string saved = kHeader + std::string("1,José,Pérez-López,1234.56,3\n"
                                                    "3,Eva,Muñoz,20.00,2\n");
    EXPECT_EQ(console::readFile(dir / "empleados.csv"), saved);

    // Ctrl-D ended the first session; the second finds its employees and goes on from id 3.
    const auto second =
        registroIn(dir.path(), alta("Luz", "Ñandú", "5", "1") + Lines{"4", "1", "1"});
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(second.output, altaDone(4, 2) + menu(3) + orderedList() +
                                 listed(4, "Luz", "Ñandú", "5.00", 1) +
                                 listed(1, "José", "Pérez-López", "1234.56", 3) +
                                 listed(3, "Eva", "Muñoz", "20.00", 2) + menu(3) + "\n");
    EXPECT_EQ(console::readFile(dir / "empleados.csv"), saved + "4,Luz,Ñandú,5.00,1\n");
}

TEST(Registro, AKilledSessionKeepsTheChangeItConfirmed) {
    const console::TempDir dir;
    console::Typing typing{alta("Ana", "Paz", "1500", "2") + alta("Eva", "Sol", "20", "1")};
    typing.endOfInputAfter = false;
    typing.killOnceShown = "Alta del empleado con id 2.\n";
    const auto killed = registroIn(dir.path(), typing);
    EXPECT_EQ(killed.signal, SIGKILL);

    const auto next = registroIn(dir.path(), Lines{"4", "2", "5"});
    EXPECT_EQ(next.output, menu(2) + kReports + figures("1520.00", "760.00", "1") + menu(2));
    // Nothing but the register and its lock file is left in the folder.
    EXPECT_EQ(console::namesIn(dir.path()), (Lines{".empleados.csv.lock", "empleados.csv"}));
}

TEST(Registro, ARefusedFileIsLeftAsItWasAndNoMenuIsShown) {
    const console::TempDir dir;
    const std::string content =
        kHeader + std::string("7,Eva,Luna,1234.50,3\r\n8,Ana,Paz,1.00,1\n7,Luz,Sol,2.00,2\n");
    console::writeFile(dir / "personal.csv", content);
    const auto session = registroIn(dir.path(), Lines{"5"}, {"personal.csv"});
    EXPECT_EQ(session.exitCode, 1);
    EXPECT_EQ(session.output, "personal.csv:4: el id 7 ya está en la línea 2\n");
    EXPECT_EQ(console::readFile(dir / "personal.csv"), content);

    // A folder that is not there holds no register, and could never hold one.
    const auto nowhere = registroIn(dir.path(), Lines{"5"}, {"no/existe.csv"});
    EXPECT_EQ(nowhere.exitCode, 1);
    EXPECT_EQ(nowhere.output,
              "no/existe.csv: no se pudo tomar el candado no/.existe.csv.lock (No such file or "
              "directory).\n");
}

TEST(Registro, ASecondSessionOnTheSameFileIsRefused) {
    const console::TempDir dir;
    console::writeFile(dir / "empleados.csv", kHeader + std::string("7,Eva,Luna,1.00,3\n"));
    fs::create_directory(dir / "otra");
    fs::create_symlink("../empleados.csv", dir / "otra/enlace.csv");
    // The test holds the lock a session holds, on the lock file beside the register.
    const int held = open((dir / ".empleados.csv.lock").c_str(), O_RDONLY | O_CREAT, 0644);
    ASSERT_EQ(flock(held, LOCK_EX | LOCK_NB), 0);
    const auto refused = registroIn(dir.path(), alta("Ana", "Paz", "1", "1"));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.output, "empleados.csv: el registro está abierto en otra sesión.\n");
    const auto throughLink = registroIn(dir / "otra", Lines{}, {"enlace.csv"});
    EXPECT_EQ(throughLink.output, "enlace.csv: el registro está abierto en otra sesión.\n");
    EXPECT_EQ(console::readFile(dir / "empleados.csv"),
              kHeader + std::string("7,Eva,Luna,1.00,3\n"));
    // The refused sessions left the lock to its holder.
    const int another = open((dir / ".empleados.csv.lock").c_str(), O_RDONLY);
    EXPECT_NE(flock(another, LOCK_EX | LOCK_NB), 0);
    close(another);
    close(held);
    EXPECT_EQ(registroIn(dir.path(), Lines{"5"}).output, menu(1));
}

TEST(Registro, ALongAnswerIsRefusedWholeAndNothingOfItReachesTheNextQuestion) {
    // Cut at 1023 characters, the id line would read as 0 and leave "1" for the next attempt.
    const std::string longId = std::string(1023, '0') + "1";
    const auto session = registro(alta("Ana", "Paz", "10", "1") + alta("Eva", "Sol", "20", "2") +
                                  Lines{"3", longId, "2", std::string(1500, 's')} +
                                  Lines{std::string(2000, '3'), "5"});
    EXPECT_EQ(session.exitCode, 0);
    EXPECT_EQ(session.output, altaDone(1, 0) + altaDone(2, 1) + menu(2) + kAskId + kTooLong +
                                  kAskId + summary(2, "Eva Sol", "20.00", 2) + kConfirm + kTooLong +
                                  "Baja cancelada.\n" + menu(2) + kTooLong + menu(2));
}

TEST(Registro, AnEmptyAnswerIsNeverAValue) {
    const console::TempDir dir;
    const auto session = registroIn(dir.path(), Lines{"1", "", "Ana", "Paz", "", "1500", "", "2"} +
                                                    Lines{"2", "1", "3", "", "", ""} +
                                                    Lines{"2", "1", "", "4", "", "7"});
    EXPECT_EQ(session.output,
              menu(0) + "Nombre: " + kBadName + "Nombre: Apellido: Salario: " + kBadSalary +
                  "Salario: Sector: " + kBadSector + "Sector: Alta del empleado con id 1.\n" +
                  menu(1) + kAskId + summary(1, "Ana Paz", "1500.00", 2) + kAskField +
                  "Salario: " + kBadSalary + "Salario: " + kBadSalary + "Salario: " + kBadSalary +
                  "Modificación cancelada.\n" + menu(1) + kAskId +
                  summary(1, "Ana Paz", "1500.00", 2) + kAskField +
                  "El campo debe ser un número del 1 al 4.\n" + kAskField +
                  "Sector: " + kBadSector + "Sector: Empleado modificado.\n" +
                  summary(1, "Ana Paz", "1500.00", 7) + menu(1) + "\n");
    EXPECT_EQ(console::readFile(dir / "empleados.csv"),
              kHeader + std::string("1,Ana,Paz,1500.00,7\n"));
}

TEST(Registro, AnswersThroughAPipeAreTakenLineByLine) {
    const console::TempDir dir;
    // Windows line ends too, and a last answer without one; then the input ends.
    const auto run = console::runProgram({REGISTRO_PATH}, dir.path(),
                                         "1\nAna\nPaz\n1500\n2\r\n4\n2\n1\nEva\nSol\n20\n3");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, altaDone(1, 0) + menu(1) + kReports + figures("1500.00", "1500.00", "0") +
                              altaDone(2, 1) + menu(2) + "\n");
    EXPECT_EQ(console::readFile(dir / "empleados.csv"),
              kHeader + std::string("1,Ana,Paz,1500.00,2\n2,Eva,Sol,20.00,3\n"));
}

// The report menu reads its two questions itself: a long line there is refused whole too, at a
// terminal and through a pipe. Cut at 1023 characters, the option would read as 0 and the order
// as 0, and the "1" behind them would answer the main menu with an Alta.
TEST(Registro, ALongAnswerToTheReportMenuIsRefusedWholeToo) {
    const std::string longZero = std::string(1023, '0') + "1";
    const Lines answers = alta("Ana", "Paz", "10", "1") + Lines{"4", longZero, "4", "1", longZero};
    const std::string expected = altaDone(1, 0) + menu(1) + kReports + kTooLong +
                                 "Opcion no valida.\n" + menu(1) + orderedList() + kTooLong +
                                 listed(1, "Ana", "Paz", "10.00", 1) + menu(1) + "\n";
    const auto typed = registro(answers);
    EXPECT_EQ(typed.exitCode, 0);
    EXPECT_EQ(typed.output, expected);

    const console::TempDir dir;
    std::string piped;
    for (const std::string& line : answers) {
        piped += line + "\n";
    }
    const auto run = console::runProgram({REGISTRO_PATH}, dir.path(), piped);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, expected);
}

// A decimal comma answers Salario; the file keeps its own form, a new one the program's.
TEST(Registro, ASalaryTakesADecimalCommaAndASpreadsheetFileKeepsItsForm) {
    const console::TempDir dir;
    const std::string header = "\xEF\xBB\xBFid;nombre;apellido;salario;sector\r\n";
    console::writeFile(dir / "hoja.csv", header + "7;\"Eva\";\"Luna\";1500;3\r\n");
    const auto sheet =
        registroIn(dir.path(), alta("Ana", "Paz", "1500,5", "2") + Lines{"2", "7", "3", "20,25"},
                   {"hoja.csv"});
    EXPECT_EQ(sheet.exitCode, 0);
    EXPECT_EQ(console::readFile(dir / "hoja.csv"),
              header + "7;\"Eva\";\"Luna\";20,25;3\r\n8;\"Ana\";\"Paz\";1500,50;2\r\n");

    const auto fresh = registroIn(dir.path(), alta("Ana", "Paz", ",5", "2"));
    EXPECT_EQ(fresh.exitCode, 0);
    EXPECT_EQ(console::readFile(dir / "empleados.csv"),
              kHeader + std::string("1,Ana,Paz,0.50,2\n"));
}

TEST(Registro, AFailedSaveSaysSoKeepsTheOldFileAndTheNextSaveTakesTheChange) {
    console::SmallDisk disk(12); // three pages
    if (!disk.mounted()) {
        GTEST_SKIP() << disk.why();
    }
    // The register takes one page, a filler another: a new copy of the register fits in the
    // third only while it stays within a page. The alta makes it longer than a page, and so does
    // the first baja; the second makes it short enough again.
    const std::string name(50, 'a');
    std::string content =
        kHeader + std::string("1,Al,Bo,1.00,1\n2,") + name + "," + name + ",1.00,1\n";
    int employees = 2;
    while (content.size() <= 4000) {
        content += std::to_string(++employees) + ",Ana,Paz,1.00,1\n";
    }
    const std::string file = (disk / "empleados.csv").string();
    console::writeFile(file, content);
    console::writeFile(disk / "relleno", std::string(4096, 'x'));
    const console::TempDir dir;
    const auto session = registroIn(
        dir.path(), alta(name, name + "b", "2", "2") + Lines{"3", "1", "s", "3", "2", "s"}, {file});
    const std::string notSaved = "No se pudo guardar " + file +
                                 " (No space left on device): el cambio queda en memoria y se "
                                 "guardará con el próximo cambio.\n";
    const std::string cut = "El apellido se acortó a 50 bytes: " + name + "\n";
    const std::string full = name + " " + name;
    EXPECT_EQ(session.exitCode, 0);
    EXPECT_EQ(session.output,
              menu(employees, file) + "Nombre: Apellido: " + cut + "Salario: Sector: " +
                  "Alta del empleado con id " + std::to_string(employees + 1) + ".\n" + notSaved +
                  menu(employees + 1, file, " (hay cambios sin guardar)") + kAskId +
                  summary(1, "Al Bo", "1.00", 1) + kConfirm + "Baja del empleado con id 1.\n" +
                  notSaved + menu(employees, file, " (hay cambios sin guardar)") + kAskId +
                  summary(2, full, "1.00", 1) + kConfirm + "Baja del empleado con id 2.\n" +
                  menu(employees - 1, file) + "\n");
    const std::string kept = content.substr(content.find("\n3,") + 1);
    EXPECT_EQ(console::readFile(file), kHeader + kept + std::to_string(employees + 1) + "," + name +
                                           "," + name + ",2.00,2\n");
}

TEST(Registro, InAReadOnlyFolderAChangeIsNotSavedAndTheEndSaysItIsLost) {
    console::SmallDisk disk(64);
    if (!disk.mounted()) {
        GTEST_SKIP() << disk.why();
    }
    const std::string file = (disk / "empleados.csv").string();
    console::writeFile(file, kHeader);
    ASSERT_TRUE(disk.makeReadOnly());
    const console::TempDir dir;
    const auto session = registroIn(dir.path(), alta("Ana", "Paz", "1", "1"), {file});
    const std::string failed = "No se pudo guardar " + file + " (Read-only file system)";
    EXPECT_EQ(session.exitCode, 1);
    EXPECT_EQ(session.output,
              menu(0, file) + kAltaAsks + "Alta del empleado con id 1.\n" + failed +
                  ": el cambio queda en memoria y se guardará con el próximo cambio.\n" +
                  menu(1, file, " (hay cambios sin guardar)") + "\n" + failed +
                  ": se pierden los cambios sin guardar.\n");
    EXPECT_EQ(console::readFile(file), kHeader);
}

TEST(Registro, UsageAndHelpTouchNoFile) {
    const console::TempDir dir;
    const std::string usage = "Uso: registro [ARCHIVO]\n";
    for (const auto& [args, status] : std::vector<std::pair<Lines, int>>{
             {{"--help"}, 0}, {{"-h"}, 0}, {{"a.csv", "b.csv"}, 2}, {{"-x"}, 2}, {{""}, 2}}) {
        const auto run = console::runProgram(Lines{REGISTRO_PATH} + args, dir.path());
        EXPECT_EQ(run.exitCode, status);
        EXPECT_NE(run.output.find(usage), std::string::npos) << run.output;
    }
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(Registro, ABadMenuLineShowsTheMenuAgain) {
    const auto session = registro({"9", "x", "", "0", "5"});
    EXPECT_EQ(session.exitCode, 0);
    std::string expected;
    for (int i = 0; i < 4; ++i) {
        expected += menu(0) + kBadOption;
    }
    EXPECT_EQ(session.output, expected + menu(0));
}

TEST(Registro, OptionsOtherThanAltaNeedAnEmployee) {
    const auto session = registro({"2", "3", "4", "5"});
    EXPECT_EQ(session.exitCode, 0);
    EXPECT_EQ(session.output, menu(0) + kNone + menu(0) + kNone + menu(0) + kNone + menu(0));

    // Removing the only employee brings the message back.
    const auto emptied = registro(alta("Ana", "Paz", "1", "1") + Lines{"3", "1", "s", "4"});
    EXPECT_EQ(emptied.output, altaDone(1, 0) + menu(1) + kAskId + summary(1, "Ana Paz", "1.00", 1) +
                                  kConfirm + "Baja del empleado con id 1.\n" + menu(0) + kNone +
                                  menu(0) + "\n");
}

TEST(Registro, EndOfInputAtAnyQuestionEndsTheProgramAtOnce) {
    EXPECT_EQ(registro({}).output, menu(0) + "\n");
    EXPECT_EQ(registro({"1", "Ana"}).output, menu(0) + "Nombre: Apellido: \n");
    EXPECT_EQ(registro({"1", "Ana", "Paz", "x"}).output,
              menu(0) + "Nombre: Apellido: Salario: " + kBadSalary + "Salario: \n");
    EXPECT_EQ(registro({"1", "Ana", "Paz", "10"}).output, menu(0) + kAltaAsks + "\n");

    const auto one = alta("Ana", "Paz", "10", "1");
    const std::string asked = altaDone(1, 0) + menu(1) + kAskId + summary(1, "Ana Paz", "10.00", 1);
    EXPECT_EQ(registro(one + Lines{"3", "1"}).output, asked + kConfirm + "\n");
    EXPECT_EQ(registro(one + Lines{"2", "1"}).output, asked + kAskField + "\n");
    EXPECT_EQ(registro(one + Lines{"4"}).output,
              altaDone(1, 0) + menu(1) + kReports + "Opcion no valida.\n\n");
    for (const auto& lines : {Lines{}, {"1", "Ana"}, {"3"}}) {
        EXPECT_EQ(registro(one + lines).exitCode, 0);
    }
}

TEST(Registro, AltaRefusesBadAnswersAndGivesUpAfterThreeAttempts) {
    const std::string longName(60, 'a');
    const auto session =
        registro(Lines{"1", "Ana1", "   ", "", "1", longName, "De la Paz", "", "0", "x", "", "4"} +
                 Lines{"2", "1", "1", "x1", "", " ", "5"});
    EXPECT_EQ(session.exitCode, 0);
    const std::string cut(50, 'a');
    EXPECT_EQ(session.output,
              menu(0) + "Nombre: " + kBadName + "Nombre: " + kBadName + "Nombre: " + kBadName +
                  "Alta cancelada.\n" + menu(0) + "Nombre: El nombre se acortó a 50 bytes: " + cut +
                  "\nApellido: Salario: " + kBadSalary + "Salario: Sector: " + kBadSector +
                  "Sector: " + kBadSector + "Sector: Alta del empleado con id 1.\n" + menu(1) +
                  kAskId + summary(1, cut + " De la Paz", "0.00", 4) + kAskField +
                  "Nombre: " + kBadName + "Nombre: " + kBadName + "Nombre: " + kBadName +
                  "Modificación cancelada.\n" + menu(1));
}

TEST(Registro, ModificarChangesTheFieldItIsToldAndNothingElse) {
    const std::string longName(51, 'z');
    const auto session =
        registro(alta("Ana", "Paz", "10", "1") + alta("Eva", "Sol", "20", "2") + Lines{"2", "7"} +
                 Lines{"2", "2", "5", "1", "María José"} + Lines{"2", "2", "2", longName} +
                 Lines{"2", "2", "4", "9"} + Lines{"4", "1", "0", "5"});
    EXPECT_EQ(session.exitCode, 0);
    const std::string asked = menu(2) + kAskId;
    const std::string cut(50, 'z');
    EXPECT_EQ(session.output,
              altaDone(1, 0) + altaDone(2, 1) + asked + "No hay un empleado con el id 7.\n" +
                  asked + summary(2, "Eva Sol", "20.00", 2) + kAskField +
                  "El campo debe ser un número del 1 al 4.\n" + kAskField +
                  "Nombre: Empleado modificado.\n" + summary(2, "María José Sol", "20.00", 2) +
                  asked + summary(2, "María José Sol", "20.00", 2) + kAskField +
                  "Apellido: El apellido se acortó a 50 bytes: " + cut +
                  "\nEmpleado modificado.\n" + summary(2, "María José " + cut, "20.00", 2) + asked +
                  summary(2, "María José " + cut, "20.00", 2) + kAskField +
                  "Sector: Empleado modificado.\n" + summary(2, "María José " + cut, "20.00", 9) +
                  menu(2) + orderedList() + listed(1, "Ana", "Paz", "10.00", 1) +
                  listed(2, "María José", cut, "20.00", 9) + menu(2));
}

TEST(Registro, BajaNeedsAnSAloneAndIdsAreNotGivenTwice) {
    const auto session = registro(alta("Ana", "Paz", "10", "1") + alta("Eva", "Sol", "20", "2") +
                                  Lines{"3", "2", "n"} + Lines{"3", "2", "si"} +
                                  Lines{"3", "2", " s"} + Lines{"3", "2", "S"} + Lines{"3", "2"} +
                                  alta("Juan", "Rey", "30", "3") + Lines{"5"});
    EXPECT_EQ(session.exitCode, 0);
    const std::string askEva = menu(2) + kAskId + summary(2, "Eva Sol", "20.00", 2) + kConfirm;
    EXPECT_EQ(session.output, altaDone(1, 0) + altaDone(2, 1) + askEva + "Baja cancelada.\n" +
                                  askEva + "Baja cancelada.\n" + askEva + "Baja cancelada.\n" +
                                  askEva + "Baja del empleado con id 2.\n" + menu(1) + kAskId +
                                  "No hay un empleado con el id 2.\n" + altaDone(3, 1) + menu(2));
}

TEST(Registro, TheIdQuestionListsAndFindsEmployeesWithoutSpendingAnAttempt) {
    const auto session = registro(alta("Ana", "Pérez-López", "10", "1") +
                                  alta("Eva", "Ñandú", "20", "2") + alta("Luz", "Paz", "30", "3") +
                                  Lines{"3", "?", "?ÑAN", "? pé ", "?x", "0", "?", "x", "2"} +
                                  Lines{"n", "2", "?paz", "3", "4", "7"});
    EXPECT_EQ(session.exitCode, 0);
    const std::string ana = summary(1, "Ana Pérez-López", "10.00", 1);
    const std::string eva = summary(2, "Eva Ñandú", "20.00", 2);
    const std::string luz = summary(3, "Luz Paz", "30.00", 3);
    const std::string all = ana + eva + luz;
    EXPECT_EQ(session.output, altaDone(1, 0) + altaDone(2, 1) + altaDone(3, 2) + menu(3) + kAskId +
                                  all + kAskId + eva + kAskId + ana + kAskId +
                                  "Ningún apellido contiene \"x\".\n" + kAskId + kBadId + kAskId +
                                  all + kAskId + kBadId + kAskId + eva + kConfirm +
                                  "Baja cancelada.\n" + menu(3) + kAskId + luz + kAskId + luz +
                                  kAskField + "Sector: Empleado modificado.\n" +
                                  summary(3, "Luz Paz", "30.00", 7) + menu(3) + "\n");
}

// "." gives up an action at any of its questions: nothing changes, nothing is saved, no id is
// spent. At the menu it is a bad option like any other.
TEST(Registro, ADotCancelsAnActionAtAnyQuestionAndChangesNothing) {
    const console::TempDir dir;
    const std::string content = kHeader + std::string("1,Ana,Paz,10.00,1\n");
    console::writeFile(dir / "empleados.csv", content);
    struct stat before {};
    ASSERT_EQ(stat((dir / "empleados.csv").c_str(), &before), 0);
    const auto session =
        registroIn(dir.path(),
                   Lines{"1", ".", "1", "Eva", "Sol", ".", "1", "Eva", "Sol", "20", "."} +
                       Lines{"2", ".", "2", "1", ".", "2", "1", "3", ".", "3", ".", "3", "1", "."} +
                       Lines{"."});
    const std::string ana = kAskId + summary(1, "Ana Paz", "10.00", 1);
    EXPECT_EQ(session.output, menu(1) + "Nombre: Alta cancelada.\n" + menu(1) +
                                  "Nombre: Apellido: Salario: Alta cancelada.\n" + menu(1) +
                                  kAltaAsks + "Alta cancelada.\n" + menu(1) + kAskId +
                                  "Modificación cancelada.\n" + menu(1) + ana + kAskField +
                                  "Modificación cancelada.\n" + menu(1) + ana + kAskField +
                                  "Salario: Modificación cancelada.\n" + menu(1) + kAskId +
                                  "Baja cancelada.\n" + menu(1) + ana + kConfirm +
                                  "Baja cancelada.\n" + menu(1) + kBadOption + menu(1) + "\n");
    struct stat after {};
    ASSERT_EQ(stat((dir / "empleados.csv").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the register was saved again";
    EXPECT_EQ(console::readFile(dir / "empleados.csv"), content);
    EXPECT_EQ(registroIn(dir.path(), alta("Eva", "Sol", "20", "2")).output,
              menu(1) + kAltaAsks + "Alta del empleado con id 2.\n" + menu(2) + "\n");
}

// At a terminal that echoes, as a person's does, the answers are edited: "15x0", left arrow,
// backspace gives "150"; the up arrow brings back the answers before, a repeated one once. The
// report menu's questions are read by the same editor, so nothing typed for one reader reaches
// another.
TEST(Registro, AtATerminalAnswersAreEditedAndRecalled) {
    const console::TempDir dir;
    const std::string left = "\x1b[D";
    const std::string up = "\x1b[A";
    console::Typing typing{{"1", "José", up, "15x0" + left + "\x7f", "7", "4", "2", "4", "1", "1",
                            "3", "?", up + up + up, "s", "5"}};
    typing.echo = true;
    typing.typeAfter = ":";
    const auto session = registroIn(dir.path(), typing);
    EXPECT_EQ(session.exitCode, 0);
    EXPECT_NE(session.output.find(figures("150.00", "150.00", "0")), std::string::npos);
    EXPECT_NE(session.output.find(listed(1, "José", "José", "150.00", 7)), std::string::npos);
    EXPECT_NE(session.output.find("Baja del empleado con id 1."), std::string::npos);
    EXPECT_EQ(console::readFile(dir / "empleados.csv"), kHeader);
}

TEST(Registro, AFullTableOrTheLastIdRefusesAnotherAlta) {
    const console::TempDir dir;
    std::string content = kHeader;
    for (int id = 1; id <= 1000; ++id) {
        content += std::to_string(id) + ",Ana,Paz,1.00,1\n";
    }
    console::writeFile(dir / "empleados.csv", content);
    const auto session = registroIn(dir.path(), Lines{"1", "4", "2", "5"});
    EXPECT_EQ(session.exitCode, 0);
    EXPECT_EQ(session.output, menu(1000) + "La tabla está llena: no se pueden dar más altas.\n" +
                                  menu(1000) + kReports + figures("1000.00", "1.00", "0") +
                                  menu(1000));

    console::writeFile(dir / "empleados.csv", kHeader + std::string("2147483647,Ana,Paz,1,1\n"));
    EXPECT_EQ(registroIn(dir.path(), Lines{"1", "5"}).output,
              menu(1) + "No quedan ids para más altas: el id 2147483647 es el último.\n" + menu(1));
}

} // namespace
