// The register program as built, at a pseudo-terminal (or with a pipe): the dialogue of a session,
// typed lines in, every byte it printed and its exit status out.
#include "registroSession.h"
#include "sameLines.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using namespace session;

TEST(Registro, SessionOfAltasAModificarABajaAndReports) {
    const console::TempDir dir;
    const auto session =
        registroIn(dir.path(), alta("Ana", "Paz", "1500.5", "2") + alta("Luis", "Rey", "300", "3") +
                                   Lines{"1", "Eva", "Alba", "mil", "1000", "1"} + Lines{"4", "2"} +
                                   Lines{"2", "2", "3", "2000"} + Lines{"3", "1", "s"} +
                                   Lines{"4", "2", "4", "1", "0", "5"});
    EXPECT_EQ(session.exitCode, 0);
    EXPECT_SAME_LINES(
        session.output,
        altaDone(1, 0) + altaDone(2, 1) + menu(2) + "Nombre: Apellido: Salario: " + BAD_SALARY +
            "Salario: Sector: Alta del empleado con id 3.\n" + menu(3) + REPORTS +
            figures("2800.50", "933.50", "2") + menu(3) + ASK_ID +
            summary(2, "Luis Rey", "300.00", 3) + ASK_FIELD + "Salario: Empleado modificado.\n" +
            summary(2, "Luis Rey", "2000.00", 3) + menu(3) + ASK_ID +
            summary(1, "Ana Paz", "1500.50", 2) + CONFIRM + "Baja del empleado con id 1.\n" +
            menu(2) + REPORTS + figures("3000.00", "1500.00", "1") + menu(2) + orderedList() +
            listed(3, "Eva", "Alba", "1000.00", 1) + listed(2, "Luis", "Rey", "2000.00", 3) +
            menu(2));
    EXPECT_EQ(console::readFile(dir / "empleados.csv"),
              HEADER + std::string("2,Luis,Rey,2000.00,3\n3,Eva,Alba,1000.00,1\n"));
}

TEST(Registro, ALongAnswerIsRefusedWholeAndNothingOfItReachesTheNextQuestion) {
    // Cut at 1023 characters, the id line would read as 0 and leave "1" for the next attempt.
    const std::string longId = std::string(1023, '0') + "1";
    const auto session = registro(alta("Ana", "Paz", "10", "1") + alta("Eva", "Sol", "20", "2") +
                                  Lines{"3", longId, "2", std::string(1500, 's')} +
                                  Lines{std::string(2000, '3'), "5"});
    EXPECT_EQ(session.exitCode, 0);
    EXPECT_SAME_LINES(session.output, altaDone(1, 0) + altaDone(2, 1) + menu(2) + ASK_ID +
                                          TOO_LONG + ASK_ID + summary(2, "Eva Sol", "20.00", 2) +
                                          CONFIRM + TOO_LONG + "Baja cancelada.\n" + menu(2) +
                                          TOO_LONG + menu(2));
}

TEST(Registro, AnEmptyAnswerIsNeverAValue) {
    const console::TempDir dir;
    const auto session = registroIn(dir.path(), Lines{"1", "", "Ana", "Paz", "", "1500", "", "2"} +
                                                    Lines{"2", "1", "3", "", "", ""} +
                                                    Lines{"2", "1", "", "4", "", "7"});
    EXPECT_SAME_LINES(
        session.output,
        menu(0) + "Nombre: " + BAD_NAME + "Nombre: Apellido: Salario: " + BAD_SALARY +
            "Salario: Sector: " + BAD_SECTOR + "Sector: Alta del empleado con id 1.\n" + menu(1) +
            ASK_ID + summary(1, "Ana Paz", "1500.00", 2) + ASK_FIELD + "Salario: " + BAD_SALARY +
            "Salario: " + BAD_SALARY + "Salario: " + BAD_SALARY + "Modificación cancelada.\n" +
            menu(1) + ASK_ID + summary(1, "Ana Paz", "1500.00", 2) + ASK_FIELD +
            "El campo debe ser un número del 1 al 4.\n" + ASK_FIELD + "Sector: " + BAD_SECTOR +
            "Sector: Empleado modificado.\n" + summary(1, "Ana Paz", "1500.00", 7) + menu(1) +
            "\n");
    EXPECT_EQ(console::readFile(dir / "empleados.csv"),
              HEADER + std::string("1,Ana,Paz,1500.00,7\n"));
}

TEST(Registro, AnswersThroughAPipeAreTakenLineByLine) {
    const console::TempDir dir;
    // Windows line ends too, and a last answer without one; then the input ends.
    const auto run = console::runProgram({REGISTRO_PATH}, dir.path(),
                                         "1\nAna\nPaz\n1500\n2\r\n4\n2\n1\nEva\nSol\n20\n3");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_SAME_LINES(run.output, altaDone(1, 0) + menu(1) + REPORTS +
                                      figures("1500.00", "1500.00", "0") + altaDone(2, 1) +
                                      menu(2) + "\n");
    EXPECT_EQ(console::readFile(dir / "empleados.csv"),
              HEADER + std::string("1,Ana,Paz,1500.00,2\n2,Eva,Sol,20.00,3\n"));
}

// The report menu reads its two questions itself: a long line there is refused whole too, at a
// terminal and through a pipe. Cut at 1023 characters, the option would read as 0 and the order
// as 0, and the "1" behind them would answer the main menu with an Alta.
TEST(Registro, ALongAnswerToTheReportMenuIsRefusedWholeToo) {
    const std::string longZero = std::string(1023, '0') + "1";
    const Lines answers = alta("Ana", "Paz", "10", "1") + Lines{"4", longZero, "4", "1", longZero};
    const std::string expected = altaDone(1, 0) + menu(1) + REPORTS + TOO_LONG +
                                 "Opcion no valida.\n" + menu(1) + orderedList() + TOO_LONG +
                                 listed(1, "Ana", "Paz", "10.00", 1) + menu(1) + "\n";
    const auto typed = registro(answers);
    EXPECT_EQ(typed.exitCode, 0);
    EXPECT_SAME_LINES(typed.output, expected);

    const console::TempDir dir;
    std::string piped;
    for (const std::string& line : answers) {
        piped += line + "\n";
    }
    const auto run = console::runProgram({REGISTRO_PATH}, dir.path(), piped);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_SAME_LINES(run.output, expected);
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
        expected += menu(0) + SESSION_BAD_OPTION;
    }
    EXPECT_SAME_LINES(session.output, expected + menu(0));
}

TEST(Registro, OptionsOtherThanAltaNeedAnEmployee) {
    const auto session = registro({"2", "3", "4", "5"});
    EXPECT_EQ(session.exitCode, 0);
    EXPECT_SAME_LINES(session.output, menu(0) + NONE + menu(0) + NONE + menu(0) + NONE + menu(0));

    // Removing the only employee brings the message back.
    const auto emptied = registro(alta("Ana", "Paz", "1", "1") + Lines{"3", "1", "s", "4"});
    EXPECT_SAME_LINES(emptied.output, altaDone(1, 0) + menu(1) + ASK_ID +
                                          summary(1, "Ana Paz", "1.00", 1) + CONFIRM +
                                          "Baja del empleado con id 1.\n" + menu(0) + NONE +
                                          menu(0) + "\n");
}

TEST(Registro, EndOfInputAtAnyQuestionEndsTheProgramAtOnce) {
    EXPECT_SAME_LINES(registro({}).output, menu(0) + "\n");
    EXPECT_SAME_LINES(registro({"1", "Ana"}).output, menu(0) + "Nombre: Apellido: \n");
    EXPECT_SAME_LINES(registro({"1", "Ana", "Paz", "x"}).output,
                      menu(0) + "Nombre: Apellido: Salario: " + BAD_SALARY + "Salario: \n");
    EXPECT_SAME_LINES(registro({"1", "Ana", "Paz", "10"}).output, menu(0) + ALTA_ASKS + "\n");

    const auto one = alta("Ana", "Paz", "10", "1");
    const std::string asked = altaDone(1, 0) + menu(1) + ASK_ID + summary(1, "Ana Paz", "10.00", 1);
    EXPECT_SAME_LINES(registro(one + Lines{"3", "1"}).output, asked + CONFIRM + "\n");
    EXPECT_SAME_LINES(registro(one + Lines{"2", "1"}).output, asked + ASK_FIELD + "\n");
    EXPECT_SAME_LINES(registro(one + Lines{"4"}).output,
                      altaDone(1, 0) + menu(1) + REPORTS + "Opcion no valida.\n\n");
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
    EXPECT_SAME_LINES(
        session.output,
        menu(0) + "Nombre: " + BAD_NAME + "Nombre: " + BAD_NAME + "Nombre: " + BAD_NAME +
            "Alta cancelada.\n" + menu(0) + "Nombre: El nombre se acortó a 50 bytes: " + cut +
            "\nApellido: Salario: " + BAD_SALARY + "Salario: Sector: " + BAD_SECTOR +
            "Sector: " + BAD_SECTOR + "Sector: Alta del empleado con id 1.\n" + menu(1) + ASK_ID +
            summary(1, cut + " De la Paz", "0.00", 4) + ASK_FIELD + "Nombre: " + BAD_NAME +
            "Nombre: " + BAD_NAME + "Nombre: " + BAD_NAME + "Modificación cancelada.\n" + menu(1));
}

TEST(Registro, ModificarChangesTheFieldItIsToldAndNothingElse) {
    const std::string longName(51, 'z');
    const auto session =
        registro(alta("Ana", "Paz", "10", "1") + alta("Eva", "Sol", "20", "2") + Lines{"2", "7"} +
                 Lines{"2", "2", "5", "1", "María José"} + Lines{"2", "2", "2", longName} +
                 Lines{"2", "2", "4", "9"} + Lines{"4", "1", "0", "5"});
    EXPECT_EQ(session.exitCode, 0);
    const std::string asked = menu(2) + ASK_ID;
    const std::string cut(50, 'z');
    EXPECT_SAME_LINES(
        session.output,
        altaDone(1, 0) + altaDone(2, 1) + asked + "No hay un empleado con el id 7.\n" + asked +
            summary(2, "Eva Sol", "20.00", 2) + ASK_FIELD +
            "El campo debe ser un número del 1 al 4.\n" + ASK_FIELD +
            "Nombre: Empleado modificado.\n" + summary(2, "María José Sol", "20.00", 2) + asked +
            summary(2, "María José Sol", "20.00", 2) + ASK_FIELD +
            "Apellido: El apellido se acortó a 50 bytes: " + cut + "\nEmpleado modificado.\n" +
            summary(2, "María José " + cut, "20.00", 2) + asked +
            summary(2, "María José " + cut, "20.00", 2) + ASK_FIELD +
            "Sector: Empleado modificado.\n" + summary(2, "María José " + cut, "20.00", 9) +
            menu(2) + orderedList() + listed(1, "Ana", "Paz", "10.00", 1) +
            listed(2, "María José", cut, "20.00", 9) + menu(2));
}

// A changed employee keeps its line in the file, even with a free slot above it from a baja.
TEST(Registro, ModificarKeepsTheEmployeesPlaceInTheFile) {
    const console::TempDir dir;
    console::writeFile(dir / "empleados.csv",
                       HEADER + std::string("1,Ana,Paz,10.00,1\n2,Eva,Sol,20.00,2\n"
                                            "3,Luz,Rey,30.00,3\n"));
    const auto session = registroIn(dir.path(), Lines{"3", "1", "s", "2", "3", "3", "35"});
    EXPECT_EQ(session.exitCode, 0);
    EXPECT_SAME_LINES(session.output, menu(3) + ASK_ID + summary(1, "Ana Paz", "10.00", 1) +
                                          CONFIRM + "Baja del empleado con id 1.\n" + menu(2) +
                                          ASK_ID + summary(3, "Luz Rey", "30.00", 3) + ASK_FIELD +
                                          "Salario: Empleado modificado.\n" +
                                          summary(3, "Luz Rey", "35.00", 3) + menu(2) + "\n");
    EXPECT_EQ(console::readFile(dir / "empleados.csv"),
              HEADER + std::string("2,Eva,Sol,20.00,2\n3,Luz,Rey,35.00,3\n"));
}

TEST(Registro, BajaNeedsAnSAloneAndIdsAreNotGivenTwice) {
    const auto session = registro(alta("Ana", "Paz", "10", "1") + alta("Eva", "Sol", "20", "2") +
                                  Lines{"3", "2", "n"} + Lines{"3", "2", "si"} +
                                  Lines{"3", "2", " s"} + Lines{"3", "2", "S"} + Lines{"3", "2"} +
                                  alta("Juan", "Rey", "30", "3") + Lines{"5"});
    EXPECT_EQ(session.exitCode, 0);
    const std::string askEva = menu(2) + ASK_ID + summary(2, "Eva Sol", "20.00", 2) + CONFIRM;
    EXPECT_SAME_LINES(session.output,
                      altaDone(1, 0) + altaDone(2, 1) + askEva + "Baja cancelada.\n" + askEva +
                          "Baja cancelada.\n" + askEva + "Baja cancelada.\n" + askEva +
                          "Baja del empleado con id 2.\n" + menu(1) + ASK_ID +
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
    EXPECT_SAME_LINES(session.output, altaDone(1, 0) + altaDone(2, 1) + altaDone(3, 2) + menu(3) +
                                          ASK_ID + all + ASK_ID + eva + ASK_ID + ana + ASK_ID +
                                          "Ningún apellido contiene \"x\".\n" + ASK_ID + BAD_ID +
                                          ASK_ID + all + ASK_ID + BAD_ID + ASK_ID + eva + CONFIRM +
                                          "Baja cancelada.\n" + menu(3) + ASK_ID + luz + ASK_ID +
                                          luz + ASK_FIELD + "Sector: Empleado modificado.\n" +
                                          summary(3, "Luz Paz", "30.00", 7) + menu(3) + "\n");
}

// "." gives up an action at any of its questions: nothing changes, nothing is saved, no id is
// spent. At the menu it is a bad option like any other.
TEST(Registro, ADotCancelsAnActionAtAnyQuestionAndChangesNothing) {
    const console::TempDir dir;
    const std::string content = HEADER + std::string("1,Ana,Paz,10.00,1\n");
    console::writeFile(dir / "empleados.csv", content);
    struct stat before {};
    ASSERT_EQ(stat((dir / "empleados.csv").c_str(), &before), 0);
    const auto session =
        registroIn(dir.path(),
                   Lines{"1", ".", "1", "Eva", "Sol", ".", "1", "Eva", "Sol", "20", "."} +
                       Lines{"2", ".", "2", "1", ".", "2", "1", "3", ".", "3", ".", "3", "1", "."} +
                       Lines{"."});
    const std::string ana = ASK_ID + summary(1, "Ana Paz", "10.00", 1);
    EXPECT_SAME_LINES(session.output,
                      menu(1) + "Nombre: Alta cancelada.\n" + menu(1) +
                          "Nombre: Apellido: Salario: Alta cancelada.\n" + menu(1) + ALTA_ASKS +
                          "Alta cancelada.\n" + menu(1) + ASK_ID + "Modificación cancelada.\n" +
                          menu(1) + ana + ASK_FIELD + "Modificación cancelada.\n" + menu(1) + ana +
                          ASK_FIELD + "Salario: Modificación cancelada.\n" + menu(1) + ASK_ID +
                          "Baja cancelada.\n" + menu(1) + ana + CONFIRM + "Baja cancelada.\n" +
                          menu(1) + SESSION_BAD_OPTION + menu(1) + "\n");
    struct stat after {};
    ASSERT_EQ(stat((dir / "empleados.csv").c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the register was saved again";
    EXPECT_EQ(console::readFile(dir / "empleados.csv"), content);
    EXPECT_SAME_LINES(registroIn(dir.path(), alta("Eva", "Sol", "20", "2")).output,
                      menu(1) + ALTA_ASKS + "Alta del empleado con id 2.\n" + menu(2) + "\n");
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
    EXPECT_EQ(console::readFile(dir / "empleados.csv"), HEADER);
}

} // namespace
