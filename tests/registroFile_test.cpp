// The register program as built and its file: what a session loads, saves, refuses and leaves
// behind, one session at a time, a full disk and a read-only folder included.
#include "registroSession.h"
#include "sameLines.h"
#include "smallDisk.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using namespace session;

TEST(Registro, KeepsTheRegisterAcrossSessionsAndIdsGoOnFromTheHighest) {
    const console::TempDir dir;
    const auto first =
        registroIn(dir.path(), alta("José", "Pérez-López", "1234.56", "3") +
                                   alta("Ana", "O'Brien", "10", "1") +
                                   alta("Eva", "Muñoz", "20", "2") + Lines{"3", "2", "s"});
    EXPECT_EQ(first.exitCode, 0);
    const std::string saved = HEADER + std::string("1,José,Pérez-López,1234.56,3\n"
                                                   "3,Eva,Muñoz,20.00,2\n");
    EXPECT_EQ(console::readFile(dir / "empleados.csv"), saved);

    // Ctrl-D ended the first session; the second finds its employees and goes on from id 3.
    const auto second =
        registroIn(dir.path(), alta("Luz", "Ñandú", "5", "1") + Lines{"4", "1", "1"});
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_SAME_LINES(second.output, altaDone(4, 2) + menu(3) + orderedList() +
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
    EXPECT_SAME_LINES(next.output, menu(2) + REPORTS + figures("1520.00", "760.00", "1") + menu(2));
    // Nothing but the register and its lock file is left in the folder.
    EXPECT_EQ(console::namesIn(dir.path()), (Lines{".empleados.csv.lock", "empleados.csv"}));
}

TEST(Registro, ARefusedFileIsLeftAsItWasAndNoMenuIsShown) {
    const console::TempDir dir;
    const std::string content =
        HEADER + std::string("7,Eva,Luna,1234.50,3\r\n8,Ana,Paz,1.00,1\n7,Luz,Sol,2.00,2\n");
    console::writeFile(dir / "personal.csv", content);
    const auto session = registroIn(dir.path(), Lines{"5"}, {"personal.csv"});
    EXPECT_EQ(session.exitCode, 1);
    EXPECT_SAME_LINES(session.output, "personal.csv:4: el id 7 ya está en la línea 2\n");
    EXPECT_EQ(console::readFile(dir / "personal.csv"), content);

    // A folder that is not there holds no register, and could never hold one.
    const auto nowhere = registroIn(dir.path(), Lines{"5"}, {"no/existe.csv"});
    EXPECT_EQ(nowhere.exitCode, 1);
    EXPECT_SAME_LINES(
        nowhere.output,
        "no/existe.csv: no se pudo tomar el candado no/.existe.csv.lock (No such file or "
        "directory).\n");
}

TEST(Registro, ASecondSessionOnTheSameFileIsRefused) {
    const console::TempDir dir;
    console::writeFile(dir / "empleados.csv", HEADER + std::string("7,Eva,Luna,1.00,3\n"));
    fs::create_directory(dir / "otra");
    fs::create_symlink("../empleados.csv", dir / "otra/enlace.csv");
    // The test holds the lock a session holds, on the lock file beside the register.
    const int held = open((dir / ".empleados.csv.lock").c_str(), O_RDONLY | O_CREAT, 0644);
    ASSERT_EQ(flock(held, LOCK_EX | LOCK_NB), 0);
    const auto refused = registroIn(dir.path(), alta("Ana", "Paz", "1", "1"));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_SAME_LINES(refused.output, "empleados.csv: el registro está abierto en otra sesión.\n");
    const auto throughLink = registroIn(dir / "otra", Lines{}, {"enlace.csv"});
    EXPECT_SAME_LINES(throughLink.output, "enlace.csv: el registro está abierto en otra sesión.\n");
    EXPECT_EQ(console::readFile(dir / "empleados.csv"),
              HEADER + std::string("7,Eva,Luna,1.00,3\n"));
    // The refused sessions left the lock to its holder.
    const int another = open((dir / ".empleados.csv.lock").c_str(), O_RDONLY);
    EXPECT_NE(flock(another, LOCK_EX | LOCK_NB), 0);
    close(another);
    close(held);
    EXPECT_SAME_LINES(registroIn(dir.path(), Lines{"5"}).output, menu(1));
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
    EXPECT_EQ(console::readFile(dir / "empleados.csv"), HEADER + std::string("1,Ana,Paz,0.50,2\n"));
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
        HEADER + std::string("1,Al,Bo,1.00,1\n2,") + name + "," + name + ",1.00,1\n";
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
    EXPECT_SAME_LINES(
        session.output,
        menu(employees, file) + "Nombre: Apellido: " + cut +
            "Salario: Sector: " + "Alta del empleado con id " + std::to_string(employees + 1) +
            ".\n" + notSaved + menu(employees + 1, file, " (hay cambios sin guardar)") + ASK_ID +
            summary(1, "Al Bo", "1.00", 1) + CONFIRM + "Baja del empleado con id 1.\n" + notSaved +
            menu(employees, file, " (hay cambios sin guardar)") + ASK_ID +
            summary(2, full, "1.00", 1) + CONFIRM + "Baja del empleado con id 2.\n" +
            menu(employees - 1, file) + "\n");
    const std::string kept = content.substr(content.find("\n3,") + 1);
    EXPECT_EQ(console::readFile(file), HEADER + kept + std::to_string(employees + 1) + "," + name +
                                           "," + name + ",2.00,2\n");
}

TEST(Registro, InAReadOnlyFolderAChangeIsNotSavedAndTheEndSaysItIsLost) {
    console::SmallDisk disk(64);
    if (!disk.mounted()) {
        GTEST_SKIP() << disk.why();
    }
    const std::string file = (disk / "empleados.csv").string();
    console::writeFile(file, HEADER);
    ASSERT_TRUE(disk.makeReadOnly());
    const console::TempDir dir;
    const auto session = registroIn(dir.path(), alta("Ana", "Paz", "1", "1"), {file});
    const std::string failed = "No se pudo guardar " + file + " (Read-only file system)";
    EXPECT_EQ(session.exitCode, 1);
    EXPECT_SAME_LINES(session.output,
                      menu(0, file) + ALTA_ASKS + "Alta del empleado con id 1.\n" + failed +
                          ": el cambio queda en memoria y se guardará con el próximo cambio.\n" +
                          menu(1, file, " (hay cambios sin guardar)") + "\n" + failed +
                          ": se pierden los cambios sin guardar.\n");
    EXPECT_EQ(console::readFile(file), HEADER);
}

TEST(Registro, AFullTableOrTheLastIdRefusesAnotherAlta) {
    const console::TempDir dir;
    std::string content = HEADER;
    for (int id = 1; id <= 1000; ++id) {
        content += std::to_string(id) + ",Ana,Paz,1.00,1\n";
    }
    console::writeFile(dir / "empleados.csv", content);
    const auto session = registroIn(dir.path(), Lines{"1", "4", "2", "5"});
    EXPECT_EQ(session.exitCode, 0);
    EXPECT_SAME_LINES(session.output,
                      menu(1000) + "La tabla está llena: no se pueden dar más altas.\n" +
                          menu(1000) + REPORTS + figures("1000.00", "1.00", "0") + menu(1000));

    console::writeFile(dir / "empleados.csv", HEADER + std::string("2147483647,Ana,Paz,1,1\n"));
    EXPECT_SAME_LINES(registroIn(dir.path(), Lines{"1", "5"}).output,
                      menu(1) + "No quedan ids para más altas: el id 2147483647 es el último.\n" +
                          menu(1));
}

} // namespace
