// The salary file writer, called directly on lists built by hand.
#include "salaryWriter.h"

#include "Empleado.h"
#include "LinkedList.h"
#include "console.h"
#include "files.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using console::captureStdout;

constexpr char SAVED[] = "El archivo se guardo exitosamente\n";

Empleado empleado(int id, const char* nombre, int horas, int sueldo) {
    Empleado record{};
    record.id = id;
    std::snprintf(record.nombre, sizeof record.nombre, "%s", nombre);
    record.horasTrabajadas = horas;
    record.sueldo = sueldo;
    return record;
}

class SalaryWriter : public ::testing::Test {
  protected:
    void TearDown() override {
        ll_deleteLinkedList(list);
    }

    // Runs the writer on the list (or on listaEmpleados) into a file at path; keeps what it
    // printed and returns its result.
    int write(const std::filesystem::path& path, LinkedList* listaEmpleados) {
        std::string name = path.string();
        int result = 0;
        printed =
            captureStdout([&] { result = generarArchivoSueldos(name.data(), listaEmpleados); });
        return result;
    }
    int write() {
        return write(file, list);
    }

    console::TempDir dir;
    std::filesystem::path file = dir / "sueldos.csv";
    LinkedList* list = ll_newLinkedList();
    std::string printed;
};

TEST_F(SalaryWriter, WritesOneLinePerEmployeeInListOrder) {
    Empleado records[] = {empleado(7, "Abc", 40, 900), empleado(-2, "Paz, Ana", -5, -900),
                          empleado(INT_MIN, "José", INT_MAX, INT_MIN), empleado(0, "Z", 0, 0)};
    for (Empleado& record : records) {
        ll_add(list, &record);
    }
    EXPECT_EQ(write(), 1);
    EXPECT_EQ(printed, SAVED);
    EXPECT_EQ(console::readFile(file), "7,Abc,40,900\n-2,Paz, Ana,-5,-900\n"
                                       "-2147483648,José,2147483647,-2147483648\n0,Z,0,0\n");
}

TEST_F(SalaryWriter, WritesTheSameBytesAsTheLineFormatOverManyBlocks) {
    std::vector<Empleado> records;
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        records.push_back(empleado(i * 9973 - 20000000, std::string(i % 128, 'a' + i % 26).c_str(),
                                   i - 2500, i * -431));
    }
    for (Empleado& record : records) {
        ll_add(list, &record);
        char line[200];
        std::snprintf(line, sizeof line, "%d,%s,%d,%d\n", record.id, record.nombre,
                      record.horasTrabajadas, record.sueldo);
        expected += line;
    }
    EXPECT_EQ(write(), 1);
    EXPECT_EQ(console::readFile(file), expected);
}

TEST_F(SalaryWriter, AnEmptyListEmptiesTheFileAndSucceeds) {
    console::writeFile(file, "old contents\n");
    EXPECT_EQ(write(), 1);
    EXPECT_EQ(printed, SAVED);
    EXPECT_EQ(console::readFile(file), "");
}

TEST_F(SalaryWriter, ANullListFailsSilentlyAndLeavesTheFile) {
    console::writeFile(file, "old contents\n");
    EXPECT_EQ(write(file, nullptr), -1);
    EXPECT_EQ(printed, "");
    EXPECT_EQ(console::readFile(file), "old contents\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "other.csv"));
    EXPECT_EQ(write(dir / "other.csv", nullptr), -1);
    EXPECT_FALSE(std::filesystem::exists(dir / "other.csv"));
}

TEST_F(SalaryWriter, AnIndexWithoutAnElementWritesNoLine) {
    Empleado first = empleado(1, "Ana", 10, 1800);
    Empleado second = empleado(2, "Bruno", 20, 3600);
    ll_add(list, nullptr);
    ll_add(list, &first);
    ll_add(list, nullptr);
    ll_add(list, &second);
    EXPECT_EQ(write(), 1);
    EXPECT_EQ(console::readFile(file), "1,Ana,10,1800\n2,Bruno,20,3600\n");
}

TEST_F(SalaryWriter, ANegativeLengthFailsAndLeavesTheFile) {
    Empleado record = empleado(1, "Ana", 10, 1800);
    ll_add(list, &record);
    console::writeFile(file, "old contents\n");
    list->size = -1;
    EXPECT_EQ(write(), -1);
    list->size = 1;
    EXPECT_EQ(printed, "Hubo un error al guardar el archivo\n");
    EXPECT_EQ(console::readFile(file), "old contents\n");
}

TEST_F(SalaryWriter, AFileThatCannotBeWrittenOrOpenedFailsWithoutClaimingSuccess) {
    Empleado record = empleado(1, "Ana", 10, 1800);
    ll_add(list, &record);
    EXPECT_EQ(write("/dev/full", list), -1);
    EXPECT_EQ(printed, "");
    std::filesystem::create_directory(file);
    EXPECT_EQ(write(), -1);
    EXPECT_EQ(printed, "");
    EXPECT_EQ(generarArchivoSueldos(nullptr, list), -1);
}

TEST_F(SalaryWriter, AFullDiskMidwayFailsWithoutClaimingSuccess) {
    // Far more lines than one block of the writer holds, so that a block fails before the last.
    std::vector<Empleado> records(5000, empleado(1, std::string(100, 'n').c_str(), 10, 1800));
    for (Empleado& record : records) {
        ll_add(list, &record);
    }
    EXPECT_EQ(write("/dev/full", list), -1);
    EXPECT_EQ(printed, "");
}

TEST_F(SalaryWriter, ANameWithoutItsEndIsWrittenUpToTheFieldsEnd) {
    Empleado record = empleado(1, "", 2, 3);
    std::memset(record.nombre, 'n', sizeof record.nombre);
    ll_add(list, &record);
    EXPECT_EQ(write(), 1);
    EXPECT_EQ(console::readFile(file), "1," + std::string(sizeof record.nombre, 'n') + ",2,3\n");
}

} // namespace
