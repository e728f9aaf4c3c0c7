// The salary figures computed directly, and the report menu as a person at a terminal meets it:
// typed lines in, the exact text out, and the table as the menu left it.
#include "informes.h"

#include "cText.h"
#include "console.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using console::captureStdout;

constexpr const char* MENU =
    "Que desea informar?\n"
    "1. Listado de los empleados ordenados alfabéticamente por Apellido y Sector.\n"
    "2. Total y promedio de los salarios, y cuántos empleados superan el salario promedio.\n"
    "Elija una opcion por numero: \n";
constexpr const char* ORDER = "Ingrese 0 para ascendente o 1 para descendente:\n";
constexpr const char* INVALID_OPTION = "Opcion no valida.\n";

// How printEmployees shows one employee.
std::string shown(int id, const char* name, const char* lastName, const char* salary, int sector) {
    return "ID empleado: " + std::to_string(id) + "\n Nombre:" + name + "\n Apellido:" + lastName +
           "\n Salario:" + salary + "\n Sector:" + std::to_string(sector) + "\n";
}

std::string figures(const char* total, const char* average, const char* above) {
    return std::string("El salario total es:") + total + "\nEl salario promedio es:" + average +
           "\nLa cantidad de trabajadores por encima del salario promedio es:" + above + "\n";
}

class Informes : public ::testing::Test {
  protected:
    void SetUp() override {
        table = {};
        ASSERT_EQ(initEmployees(table.data(), EMPLOYEES), CORRECTO);
    }

    void add(int id, const char* name, const char* lastName, float salary, int sector) {
        ASSERT_EQ(
            addEmployee(table.data(), EMPLOYEES, id, text(name), text(lastName), salary, sector),
            CORRECTO);
    }

    // The three figures in the menu's order, over the first len slots.
    void compute(int len = EMPLOYEES) {
        ASSERT_EQ(reportTotalSalary(table.data(), len, &total), CORRECTO);
        ASSERT_EQ(countEmployeesAndAverageSalary(table.data(), len, total, &average), CORRECTO);
        ASSERT_EQ(employeesWhitSalaryMoreThanAverageSalary(table.data(), len, average, &above),
                  CORRECTO);
    }

    // Runs the menu over the first len slots at a terminal where the lines are typed; returns
    // what it printed followed by "|" and its result.
    std::string menu(std::vector<std::string> lines, int len = EMPLOYEES) {
        const auto run = console::runAtTerminal(
            [&] {
                const int result = menuOrderEmployees(table.data(), len);
                std::printf("|%d", result);
                return 0;
            },
            console::Typing{std::move(lines), true, std::chrono::milliseconds{3000}});
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, 0);
        return run.output;
    }

    static std::array<Employee, EMPLOYEES> table;
    float total = -1.0f;
    float average = -1.0f;
    int above = -1;
};

std::array<Employee, EMPLOYEES> Informes::table{};

TEST_F(Informes, FiguresCountOccupiedSlotsOnly) {
    add(1, "Ana", "Paz", 100.0f, 1);
    add(2, "Luis", "Rey", 200.0f, 1);
    add(3, "Eva", "Sol", 300.0f, 1);
    compute();
    EXPECT_EQ(total, 600.0f);
    EXPECT_EQ(average, 200.0f);
    EXPECT_EQ(above, 1);

    // The freed slot keeps its 300: it must count neither in the total nor above the average.
    ASSERT_EQ(removeEmployee(table.data(), EMPLOYEES, 3), CORRECTO);
    ASSERT_EQ(table[2].salary, 300.0f);
    compute();
    EXPECT_EQ(total, 300.0f);
    EXPECT_EQ(average, 150.0f);
    EXPECT_EQ(above, 1);

    // Slot 1 and beyond are not theirs.
    compute(1);
    EXPECT_EQ(total, 100.0f);
    EXPECT_EQ(average, 100.0f);
    EXPECT_EQ(above, 0);
}

TEST_F(Informes, AnEmptyTableAveragesZeroWhateverTheTotal) {
    compute();
    EXPECT_EQ(total, 0.0f);
    EXPECT_EQ(average, 0.0f);
    EXPECT_EQ(above, 0);
    ASSERT_EQ(countEmployeesAndAverageSalary(table.data(), EMPLOYEES, 500.0f, &average), CORRECTO);
    EXPECT_EQ(average, 0.0f);
}

TEST(InformesArguments, EveryFunctionRefusesAnInvalidTableOrDestinationSilently) {
    Employee one[1] = {{1, "Ana", "Paz", 100.0f, 1, 1}};
    float total = -1.0f;
    float average = -1.0f;
    int above = -1;
    const std::string out = captureStdout([&] {
        for (const auto& [t, len] : {std::pair<Employee*, int>{nullptr, 1}, {one, 0}, {one, -1}}) {
            EXPECT_EQ(menuOrderEmployees(t, len), ERROR);
            EXPECT_EQ(reportTotalSalary(t, len, &total), ERROR);
            EXPECT_EQ(countEmployeesAndAverageSalary(t, len, 100.0f, &average), ERROR);
            EXPECT_EQ(employeesWhitSalaryMoreThanAverageSalary(t, len, 10.0f, &above), ERROR);
        }
        EXPECT_EQ(reportTotalSalary(one, 1, nullptr), ERROR);
        EXPECT_EQ(countEmployeesAndAverageSalary(one, 1, 100.0f, nullptr), ERROR);
        EXPECT_EQ(employeesWhitSalaryMoreThanAverageSalary(one, 1, 10.0f, nullptr), ERROR);
    });
    EXPECT_EQ(out, "");
    EXPECT_EQ(total, -1.0f);
    EXPECT_EQ(average, -1.0f);
    EXPECT_EQ(above, -1);
}

class InformesMenu : public Informes {
  protected:
    void SetUp() override {
        Informes::SetUp();
        add(1, "Ana", "Xd", 100.0f, 2);
        add(2, "Luis", "Za", 200.0f, 1);
        add(3, "Eva", "Xb", 300.0f, 3);
        add(4, "Juan", "Xd", 450.5f, 1);
    }

    std::string ana() const {
        return shown(1, "Ana", "Xd", "100.00", 2);
    }
    std::string luis() const {
        return shown(2, "Luis", "Za", "200.00", 1);
    }
    std::string eva() const {
        return shown(3, "Eva", "Xb", "300.00", 3);
    }
    std::string juan() const {
        return shown(4, "Juan", "Xd", "450.50", 1);
    }
};

TEST_F(InformesMenu, ListsByLastNameThenSectorInEitherOrder) {
    EXPECT_EQ(menu({"1", "0"}), MENU + std::string(ORDER) + eva() + juan() + ana() + luis() + "|0");
    EXPECT_EQ(menu({"1", "1"}), MENU + std::string(ORDER) + luis() + ana() + juan() + eva() + "|0");
}

TEST_F(InformesMenu, AnOrderOtherThanZeroOrOneListsTheTableAsItStands) {
    const std::string asItStands = ana() + luis() + eva() + juan() + "|0";
    for (const char* order : {"5", "abc", "-1", "1 "}) {
        EXPECT_EQ(menu({"1", order}), MENU + std::string(ORDER) + asItStands) << order;
    }
    EXPECT_EQ(menu({"1"}), MENU + std::string(ORDER) + asItStands) << "end of input";
}

TEST_F(InformesMenu, PrintsTheThreeFigures) {
    EXPECT_EQ(menu({"2"}), MENU + figures("1050.50", "262.62", "2") + "|0");
}

TEST_F(InformesMenu, PrintsACountOfZeroAsADigit) {
    ASSERT_EQ(removeEmployee(table.data(), EMPLOYEES, 3), CORRECTO);
    ASSERT_EQ(removeEmployee(table.data(), EMPLOYEES, 4), CORRECTO);
    ASSERT_EQ(removeEmployee(table.data(), EMPLOYEES, 1), CORRECTO);
    EXPECT_EQ(menu({"2"}), MENU + figures("200.00", "200.00", "0") + "|0");
}

TEST_F(InformesMenu, AnyOtherAnswerIsRefused) {
    for (const char* option : {"abc", "", "0", "3", "01x", "99999999999"}) {
        EXPECT_EQ(menu({option}), MENU + std::string(INVALID_OPTION) + "|-1") << option;
    }
    EXPECT_EQ(menu({}), MENU + std::string(INVALID_OPTION) + "|-1");
}

TEST_F(InformesMenu, StaysWithinTheLengthItIsGiven) {
    // Only slots 0 and 1 are the menu's: Eva and Juan, beyond them, are neither moved nor counted.
    EXPECT_EQ(menu({"1", "0"}, 2), MENU + std::string(ORDER) + ana() + luis() + "|0");
    EXPECT_EQ(menu({"2"}, 2), MENU + figures("300.00", "150.00", "1") + "|0");

    // A table of three slots, nothing behind it: the sanitizers catch a read past its end.
    Employee three[3] = {{7, "Ana", "Paz", 10.0f, 1, 1}, {8, "Eva", "Alba", 20.0f, 1, 1}, {}};
    const auto run = console::runAtTerminal(
        [&three] {
            menuOrderEmployees(three, 3);
            menuOrderEmployees(three, 3);
            return 0;
        },
        console::Typing{{"1", "0", "2"}, true, std::chrono::milliseconds{3000}});
    EXPECT_EQ(run.output, MENU + std::string(ORDER) + shown(8, "Eva", "Alba", "20.00", 1) +
                              shown(7, "Ana", "Paz", "10.00", 1) + MENU +
                              figures("30.00", "15.00", "1"));
}

} // namespace
