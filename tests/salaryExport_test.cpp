// The salary export program as built, run in a folder of its own.
#include "console.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

constexpr char kHeader[] = "id,nombre,horasTrabajadas\n";
constexpr char kSuccess[] = "Calculando sueldos de empleados\n"
                            "El archivo se guardo exitosamente\n"
                            "Archivo generado correctamente\n";
constexpr char kReadError[] = "Error leyendo empleados\n";
constexpr char kWriteError[] = "Calculando sueldos de empleados\nError generando archivo\n";

class SalaryExport : public ::testing::Test {
  protected:
    // Runs the program in the folder; its exit status must be 0 whatever happens.
    std::string run() {
        const auto result = console::runProgram({MAIN_PATH}, dir.path());
        EXPECT_EQ(result.exitCode, 0);
        return result.output;
    }

    std::string sueldos() {
        return console::readFile(dir / "sueldos.csv");
    }

    void payroll(const std::string& bytes) {
        console::writeFile(dir / "archivo.csv", bytes);
    }

    console::TempDir dir;
};

TEST_F(SalaryExport, WritesEverySalaryWithTheRateOfItsBand) {
    payroll(std::string(kHeader) + "1,Ana Paz,120\n2,Bruno Díaz,121\n3,Carla,160\n4,Dario,161\n"
                                   "-5,Elena,-10\n");
    console::writeFile(dir / "sueldos.csv", std::string(5000, 'x'));
    EXPECT_EQ(run(), kSuccess);
    EXPECT_EQ(sueldos(), "1,Ana Paz,120,21600\n2,Bruno Díaz,121,29040\n3,Carla,160,38400\n"
                         "4,Dario,161,56350\n-5,Elena,-10,-1800\n");
}

TEST_F(SalaryExport, ReadsCrlfLinesAndSkipsBlankOnes) {
    payroll("id,nombre,horasTrabajadas\r\n1,Ana,10\r\n\r\n2,Bruno,200\r\n");
    EXPECT_EQ(run(), kSuccess);
    EXPECT_EQ(sueldos(), "1,Ana,10,1800\n2,Bruno,200,70000\n");
}

TEST_F(SalaryExport, AHeaderOnlyPayrollGivesAnEmptySalaryFile) {
    payroll(kHeader);
    console::writeFile(dir / "sueldos.csv", "old\n");
    EXPECT_EQ(run(), kSuccess);
    EXPECT_TRUE(std::filesystem::exists(dir / "sueldos.csv"));
    EXPECT_EQ(sueldos(), "");
}

TEST_F(SalaryExport, AnUnreadablePayrollSaysWhereAndLeavesTheSalaryFileUntouched) {
    const std::string missing = "archivo.csv: no se pudo abrir: No such file or directory\n";
    EXPECT_EQ(run(), missing + kReadError);
    EXPECT_FALSE(std::filesystem::exists(dir / "sueldos.csv"));

    const std::string previous = "9,Previo,100,18000\n";
    console::writeFile(dir / "sueldos.csv", previous);
    EXPECT_EQ(run(), missing + kReadError);
    EXPECT_EQ(sueldos(), previous);

    payroll(std::string(kHeader) + "1,Ana,10\n2,Bruno,muchas\n");
    EXPECT_EQ(run(), "archivo.csv:3: las horas trabajadas no son un entero: \"muchas\"\n" +
                         std::string(kReadError));
    EXPECT_EQ(sueldos(), previous);
}

TEST_F(SalaryExport, AFullDiskIsReportedAsAFailure) {
    payroll(std::string(kHeader) + "1,Ana,10\n");
    std::filesystem::create_symlink("/dev/full", dir / "sueldos.csv");
    EXPECT_EQ(run(), kWriteError);
}

TEST_F(SalaryExport, ASalaryFileThatCannotBeOpenedIsReportedAsAFailure) {
    payroll(std::string(kHeader) + "1,Ana,10\n");
    std::filesystem::create_directory(dir / "sueldos.csv");
    EXPECT_EQ(run(), kWriteError);
}

TEST_F(SalaryExport, TheSamplePayrollCoversEveryBand) {
    std::filesystem::copy_file(SAMPLE_PAYROLL, dir / "archivo.csv");
    EXPECT_EQ(run(), kSuccess);
    const std::string written = sueldos();
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 20);
    EXPECT_NE(written.find(",120,21600\n"), std::string::npos);
    EXPECT_NE(written.find(",121,29040\n"), std::string::npos);
    EXPECT_NE(written.find(",160,38400\n"), std::string::npos);
    EXPECT_NE(written.find(",161,56350\n"), std::string::npos);
}

} // namespace
