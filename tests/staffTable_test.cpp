#include "staffTable.h"

#include "cText.h"
#include "console.h"

#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <utility>

namespace {

using console::captureStdout;

class StaffTable : public ::testing::Test {
  protected:
    void SetUp() override {
        table = {}; // a zero-filled table, as a static one starts, whatever ran before
        ASSERT_EQ(initEmployees(table.data(), EMPLOYEES), CORRECTO);
    }

    int add(int id, const char* name, const char* lastName, float salary, int sector) {
        return addEmployee(table.data(), EMPLOYEES, id, text(name), text(lastName), salary, sector);
    }

    std::string print(int len = EMPLOYEES) {
        return captureStdout([&] { result = printEmployees(table.data(), len); });
    }

    static std::array<Employee, EMPLOYEES> table;
    int result = 0;
};

std::array<Employee, EMPLOYEES> StaffTable::table{};

TEST(StaffTableArguments, EveryOperationRejectsANullTableOrANonPositiveLengthSilently) {
    Employee one[1]{};
    int slot = 42;
    const std::pair<Employee*, int> invalid[] = {{nullptr, 1}, {one, 0}, {one, -1}};
    for (const auto& entry : invalid) {
        Employee* t = entry.first;
        const int len = entry.second;
        const std::string out = captureStdout([&] {
            EXPECT_EQ(initEmployees(t, len), ERROR);
            EXPECT_EQ(addEmployee(t, len, 1, text("a"), text("b"), 1, 1), ERROR);
            EXPECT_EQ(searchEmpty(t, len, &slot), ERROR);
            EXPECT_EQ(findEmployeeById(t, len, 0), -1);
            EXPECT_EQ(printEmployees(t, len), ERROR);
            EXPECT_EQ(removeEmployee(t, len, 0), ERROR);
            EXPECT_EQ(sortEmployeeByName(t, len, 0), ERROR);
        });
        EXPECT_EQ(out, "");
    }
    EXPECT_EQ(slot, 42);
    EXPECT_EQ(
        captureStdout([&] { EXPECT_EQ(addEmployee(one, 1, 1, nullptr, text("b"), 1, 1), ERROR); }),
        "");
    EXPECT_EQ(addEmployee(one, 1, 1, text("a"), nullptr, 1, 1), ERROR);
}

TEST_F(StaffTable, InitialisedTableIsEmpty) {
    int slot = -1;
    EXPECT_EQ(searchEmpty(table.data(), EMPLOYEES, &slot), CORRECTO);
    EXPECT_EQ(slot, 0);
    EXPECT_EQ(print(), "No hay empleados para modificar\n");
    EXPECT_EQ(result, ERROR);
}

TEST_F(StaffTable, InitTouchesOnlyTheFlag) {
    Employee few[2] = {{7, "Ana", "Paz", 1.5f, 3, 1}, {8, "Luis", "Rey", 2.5f, 4, 1}};
    EXPECT_EQ(initEmployees(few, 1), CORRECTO);
    EXPECT_EQ(few[0].isEmpty, 0);
    EXPECT_EQ(few[0].id, 7);
    EXPECT_STREQ(few[0].lastName, "Paz");
    EXPECT_EQ(few[1].isEmpty, 1);
}

TEST_F(StaffTable, AddFillsTheFirstFreeSlotAndPrintsInIndexOrder) {
    ASSERT_EQ(add(10, "Ana", "Paz", 1234.5f, 2), CORRECTO);
    ASSERT_EQ(add(11, "Luis", "Rey", 0.004f, 1), CORRECTO);
    EXPECT_EQ(print(), "ID empleado: 10\n Nombre:Ana\n Apellido:Paz\n Salario:1234.50\n Sector:2\n"
                       "ID empleado: 11\n Nombre:Luis\n Apellido:Rey\n Salario:0.00\n Sector:1\n");
    EXPECT_EQ(result, CORRECTO);
    EXPECT_EQ(table[1].isEmpty, 1);
}

TEST_F(StaffTable, FillingEverySlotThenOneMoreIsRefused) {
    for (int i = 0; i < EMPLOYEES; i++) {
        ASSERT_EQ(add(i, "N", "A", 1, 1), CORRECTO);
        ASSERT_EQ(table[i].id, i);
    }
    int slot = 77;
    EXPECT_EQ(searchEmpty(table.data(), EMPLOYEES, &slot), ERROR);
    EXPECT_EQ(slot, 77);
    const auto before = table;
    EXPECT_EQ(captureStdout([&] { result = add(5000, "X", "Y", 1, 1); }),
              "No se pueden agregar empleados\n");
    EXPECT_EQ(result, ERROR);
    EXPECT_EQ(std::memcmp(before.data(), table.data(), sizeof table), 0);
}

TEST_F(StaffTable, RemovedSlotIsReusedAndNoLongerFound) {
    for (int i = 0; i < 5; i++) {
        ASSERT_EQ(add(i, "N", "A", 1, 1), CORRECTO);
    }
    EXPECT_EQ(removeEmployee(table.data(), EMPLOYEES, 3), CORRECTO);
    EXPECT_EQ(findEmployeeById(table.data(), EMPLOYEES, 3), -1);
    EXPECT_EQ(removeEmployee(table.data(), EMPLOYEES, 3), ERROR) << "already gone";
    EXPECT_EQ(table[3].id, 3) << "only the flag changes";
    ASSERT_EQ(add(99, "Nuevo", "B", 1, 1), CORRECTO);
    EXPECT_EQ(findEmployeeById(table.data(), EMPLOYEES, 99), 3);
}

TEST_F(StaffTable, RemoveFreesEveryOccupiedSlotWithTheId) {
    ASSERT_EQ(add(5, "A", "A", 1, 1), CORRECTO);
    ASSERT_EQ(add(6, "B", "B", 1, 1), CORRECTO);
    ASSERT_EQ(add(5, "C", "C", 1, 1), CORRECTO);
    EXPECT_EQ(findEmployeeById(table.data(), EMPLOYEES, 5), 0);
    EXPECT_EQ(captureStdout([&] { result = removeEmployee(table.data(), EMPLOYEES, 5); }), "");
    EXPECT_EQ(result, CORRECTO);
    EXPECT_EQ(table[0].isEmpty, 0);
    EXPECT_EQ(table[2].isEmpty, 0);
    EXPECT_EQ(table[1].isEmpty, 1);
    EXPECT_EQ(removeEmployee(table.data(), EMPLOYEES, 12345), ERROR);
}

TEST_F(StaffTable, OperationsNeverLookPastTheLengthTheyAreGiven) {
    for (int i = 0; i < 3; i++) {
        ASSERT_EQ(add(i, "N", "A", 1, 1), CORRECTO);
    }
    EXPECT_EQ(findEmployeeById(table.data(), 2, 2), -1);
    EXPECT_EQ(removeEmployee(table.data(), 2, 2), ERROR);
    EXPECT_EQ(table[2].isEmpty, 1);
    int slot = -1;
    EXPECT_EQ(searchEmpty(table.data(), 3, &slot), ERROR);
    Employee two[2]{};
    ASSERT_EQ(addEmployee(two, 2, 1, text("a"), text("b"), 1, 1), CORRECTO);
    ASSERT_EQ(addEmployee(two, 2, 2, text("a"), text("b"), 1, 1), CORRECTO);
    EXPECT_EQ(captureStdout([&] { result = addEmployee(two, 2, 3, text("a"), text("b"), 1, 1); }),
              "No se pueden agregar empleados\n");
    EXPECT_EQ(result, ERROR);
}

TEST_F(StaffTable, NamesAreCutToFiftyCharacters) {
    const std::string longName(80, 'n');
    const std::string exact(50, 'e');
    ASSERT_EQ(add(1, longName.c_str(), exact.c_str(), 1, 1), CORRECTO);
    EXPECT_EQ(std::string(table[0].name), longName.substr(0, 50));
    EXPECT_EQ(std::string(table[0].lastName), exact);
}

TEST_F(StaffTable, SortAscendingAndDescendingByLastNameThenSector) {
    ASSERT_EQ(add(1, "a", "Za", 1, 1), CORRECTO);
    ASSERT_EQ(add(2, "b", "Xd", 1, 2), CORRECTO);
    ASSERT_EQ(add(3, "c", "Xb", 1, 3), CORRECTO);
    ASSERT_EQ(add(4, "d", "Xd", 1, 1), CORRECTO);
    ASSERT_EQ(add(5, "e", "xa", 1, 1), CORRECTO);

    ASSERT_EQ(sortEmployeeByName(table.data(), 5, 0), CORRECTO);
    std::string order;
    for (int i = 0; i < 5; i++) {
        order += std::to_string(table[i].id);
    }
    EXPECT_EQ(order, "34215") << "capitals before small letters, equal names by sector";

    ASSERT_EQ(sortEmployeeByName(table.data(), 5, 1), CORRECTO);
    order.clear();
    for (int i = 0; i < 5; i++) {
        order += std::to_string(table[i].id);
    }
    EXPECT_EQ(order, "51243");
}

TEST_F(StaffTable, SortMovesFreeSlotsWithTheirRecordsAndRejectsBadOrders) {
    ASSERT_EQ(add(1, "a", "B", 1, 1), CORRECTO);
    ASSERT_EQ(add(2, "b", "A", 1, 1), CORRECTO);
    const auto before = table;
    for (int order : {2, -1}) {
        EXPECT_EQ(sortEmployeeByName(table.data(), EMPLOYEES, order), ERROR);
        EXPECT_EQ(std::memcmp(before.data(), table.data(), sizeof table), 0);
    }
    EXPECT_EQ(sortEmployeeByName(table.data(), 1, 0), CORRECTO);
    EXPECT_EQ(table[0].id, 1);

    ASSERT_EQ(sortEmployeeByName(table.data(), EMPLOYEES, 0), CORRECTO);
    EXPECT_EQ(table[EMPLOYEES - 2].id, 2) << "never-used slots gather at the front";
    EXPECT_EQ(table[EMPLOYEES - 1].id, 1);
    EXPECT_EQ(print(), "ID empleado: 2\n Nombre:b\n Apellido:A\n Salario:1.00\n Sector:1\n"
                       "ID empleado: 1\n Nombre:a\n Apellido:B\n Salario:1.00\n Sector:1\n");

    ASSERT_EQ(sortEmployeeByName(table.data(), EMPLOYEES, 1), CORRECTO);
    EXPECT_EQ(table[0].id, 1);
    EXPECT_EQ(table[1].id, 2);
    EXPECT_EQ(table[0].isEmpty, 1) << "the flag travels with its record";
}

} // namespace
