// The salary export program as built, run in a folder of its own: its console, its exit status,
// and a sueldos.csv that holds its old content or the whole new one whatever stops the program.
#include "console.h"
#include "files.h"
#include "smallDisk.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr char HEADER[] = "id,nombre,horasTrabajadas\n";
constexpr char SUCCESS[] = "Calculando sueldos de empleados\n"
                           "El archivo se guardo exitosamente\n"
                           "Archivo generado correctamente\n";
constexpr char READ_ERROR[] = "Error leyendo empleados\n";
constexpr char WRITE_ERROR[] = "Calculando sueldos de empleados\nError generando archivo\n";
constexpr char PREVIOUS[] = "9,Previo,100,18000\n";

// A payroll of rows employees, and the salaries it gives.
struct Payroll {
    std::string archivo = HEADER;
    std::string sueldos;
};

Payroll payrollOf(int rows) {
    Payroll payroll;
    for (int i = 1; i <= rows; ++i) {
        const int horas = i % 250;
        const int sueldo = horas * (horas <= 120 ? 180 : horas <= 160 ? 240 : 350);
        const std::string line = std::to_string(i) + ",Empleado " + std::to_string(i * 7) + "," +
                                 std::to_string(horas);
        payroll.archivo += line + "\n";
        payroll.sueldos += line + "," + std::to_string(sueldo) + "\n";
    }
    return payroll;
}

// The names in a folder that are not the payroll or the salaries.
std::vector<std::string> othersIn(const fs::path& folder) {
    std::vector<std::string> names = console::namesIn(folder);
    std::erase_if(names, [](const std::string& name) {
        return name == "archivo.csv" || name == "sueldos.csv";
    });
    return names;
}

class SalaryExport : public ::testing::Test {
  protected:
    // Runs the program in the folder with args; its output, once its exit status was checked.
    std::string run(int exitCode, const std::vector<std::string>& args = {}) {
        std::vector<std::string> argv{MAIN_PATH};
        argv.insert(argv.end(), args.begin(), args.end());
        const auto result = console::runProgram(argv, dir.path());
        EXPECT_EQ(result.exitCode, exitCode) << result.output;
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
    payroll(std::string(HEADER) + "1,Ana Paz,120\n2,Bruno Díaz,121\n3,Carla,160\n4,Dario,161\n"
                                  "-5,Elena,-10\n");
    console::writeFile(dir / "sueldos.csv", std::string(5000, 'x'));
    EXPECT_EQ(run(0), SUCCESS);
    EXPECT_EQ(sueldos(), "1,Ana Paz,120,21600\n2,Bruno Díaz,121,29040\n3,Carla,160,38400\n"
                         "4,Dario,161,56350\n-5,Elena,-10,-1800\n");
    EXPECT_TRUE(othersIn(dir.path()).empty());
}

TEST_F(SalaryExport, ReadsCrlfLinesAndSkipsBlankOnes) {
    payroll("id,nombre,horasTrabajadas\r\n1,Ana,10\r\n\r\n2,Bruno,200\r\n");
    EXPECT_EQ(run(0), SUCCESS);
    EXPECT_EQ(sueldos(), "1,Ana,10,1800\n2,Bruno,200,70000\n");
}

TEST_F(SalaryExport, AHeaderOnlyPayrollGivesAnEmptySalaryFile) {
    payroll(HEADER);
    console::writeFile(dir / "sueldos.csv", "old\n");
    EXPECT_EQ(run(0), SUCCESS);
    EXPECT_TRUE(fs::exists(dir / "sueldos.csv"));
    EXPECT_EQ(sueldos(), "");
}

TEST_F(SalaryExport, AnUnreadablePayrollSaysWhereAndLeavesTheSalaryFileUntouched) {
    EXPECT_EQ(run(1), std::string("archivo.csv: no se pudo abrir: No such file or directory\n") +
                          READ_ERROR);
    EXPECT_FALSE(fs::exists(dir / "sueldos.csv"));

    console::writeFile(dir / "sueldos.csv", PREVIOUS);
    // One bad hour in the middle of a large payroll is named by its line.
    std::string bytes = payrollOf(100000).archivo;
    const std::string line50000 = "49999,Empleado 349993,249\n";
    const size_t at = bytes.find(line50000);
    ASSERT_NE(at, std::string::npos);
    bytes.replace(at, line50000.size(), "49999,Empleado 349993,4O\n");
    payroll(bytes);
    EXPECT_EQ(run(1), std::string("archivo.csv:50000: las horas trabajadas no son un entero: "
                                  "\"4O\"\n") +
                          READ_ERROR);
    EXPECT_EQ(sueldos(), PREVIOUS);

    payroll("1,Ana,10\n");
    EXPECT_EQ(run(1), std::string("archivo.csv:1: la primera línea no es el encabezado "
                                  "id,nombre,horasTrabajadas: \"1,Ana,10\"\n") +
                          READ_ERROR);
    EXPECT_EQ(sueldos(), PREVIOUS);
}

TEST_F(SalaryExport, AnArgumentShowsTheUsageAndTouchesNoFile) {
    payroll(std::string(HEADER) + "1,Ana,10\n");
    const std::string usage = run(0, {"--help"});
    EXPECT_TRUE(usage.starts_with("Uso: main\n")) << usage;
    EXPECT_NE(usage.find("archivo.csv"), std::string::npos);
    EXPECT_NE(usage.find("sueldos.csv"), std::string::npos);
    EXPECT_EQ(run(0, {"-h"}), usage);
    EXPECT_EQ(run(0, {"--help", "-h"}), usage);
    for (const char* wrong : {"sueldos.csv", ""}) {
        EXPECT_TRUE(run(2, {wrong}).ends_with(usage)) << wrong;
    }
    EXPECT_FALSE(fs::exists(dir / "sueldos.csv"));
}

TEST_F(SalaryExport, OutputThatCannotBeWrittenIsAFailure) {
    payroll(std::string(HEADER) + "1,Ana,10\n");
    for (const char* args : {"", " --help"}) {
        const auto result = console::runProgram(
            {"/bin/sh", "-c", std::string("exec \"$0\"") + args + " >/dev/full", MAIN_PATH},
            dir.path());
        EXPECT_EQ(result.exitCode, 1) << args;
    }
    EXPECT_EQ(sueldos(), "1,Ana,10,1800\n") << "the salaries themselves were written";
}

TEST_F(SalaryExport, AFullDiskIsReportedAsAFailure) {
    payroll(std::string(HEADER) + "1,Ana,10\n");
    fs::create_symlink("/dev/full", dir / "sueldos.csv");
    EXPECT_EQ(run(1), WRITE_ERROR);
    EXPECT_TRUE(fs::is_symlink(dir / "sueldos.csv"));
}

TEST_F(SalaryExport, AFullDiskMidwayKeepsTheOldSalariesAndNoTemporary) {
    console::SmallDisk disk(256);
    if (!disk.mounted()) {
        GTEST_SKIP() << disk.why();
    }
    const Payroll large = payrollOf(4000); // 100 KiB of payroll, 115 KiB of salaries
    console::writeFile(disk / "archivo.csv", large.archivo);
    const std::string old(100 * 1024, 'o');
    console::writeFile(disk / "sueldos.csv", old);
    const auto result = console::runProgram({MAIN_PATH}, disk / "");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.output, WRITE_ERROR);
    EXPECT_EQ(console::readFile(disk / "sueldos.csv"), old);
    EXPECT_TRUE(othersIn(disk / "").empty());
}

TEST_F(SalaryExport, ASalaryFileThatCannotBeOpenedIsReportedAsAFailure) {
    payroll(std::string(HEADER) + "1,Ana,10\n");
    fs::create_directory(dir / "sueldos.csv");
    EXPECT_EQ(run(1), WRITE_ERROR);
}

TEST_F(SalaryExport, RefusesToWriteOverThePayrollUnderAnyName) {
    const std::string bytes = std::string(HEADER) + "1,Ana,10\n";
    payroll(bytes);
    fs::create_directory(dir / "data");
    console::writeFile(dir / "data/shared.csv", bytes);
    const std::function<void()> links[] = {
        [&] { fs::create_hard_link(dir / "archivo.csv", dir / "sueldos.csv"); },
        [&] { fs::create_symlink("archivo.csv", dir / "sueldos.csv"); },
        [&] {
            fs::rename(dir / "archivo.csv", dir / "sueldos.csv");
            fs::create_symlink("sueldos.csv", dir / "archivo.csv");
        },
        [&] {
            fs::remove(dir / "archivo.csv");
            fs::create_symlink("data/shared.csv", dir / "archivo.csv");
            fs::create_symlink("data/shared.csv", dir / "sueldos.csv");
        },
    };
    for (const auto& link : links) {
        link();
        EXPECT_EQ(run(1), WRITE_ERROR);
        EXPECT_EQ(console::readFile(dir / "archivo.csv"), bytes);
        fs::remove(dir / "sueldos.csv");
        fs::remove(dir / "archivo.csv");
        payroll(bytes);
    }
}

TEST_F(SalaryExport, KeepsTheLinkAndThePermissionBitsOfTheSalaryFile) {
    payroll(std::string(HEADER) + "1,Ana,10\n");
    fs::create_directory(dir / "out");
    console::writeFile(dir / "out/real.csv", PREVIOUS);
    fs::permissions(dir / "out/real.csv", fs::perms(0640));
    fs::create_symlink("out/real.csv", dir / "sueldos.csv");
    EXPECT_EQ(run(0), SUCCESS);
    EXPECT_TRUE(fs::is_symlink(dir / "sueldos.csv"));
    EXPECT_EQ(console::readFile(dir / "out/real.csv"), "1,Ana,10,1800\n");
    EXPECT_EQ(fs::status(dir / "out/real.csv").permissions(), fs::perms(0640));
}

TEST_F(SalaryExport, WritesAFifoInPlace) {
    payroll(std::string(HEADER) + "1,Ana,10\n2,Bruno,200\n");
    ASSERT_EQ(mkfifo((dir / "sueldos.csv").c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = console::readFile(dir / "sueldos.csv"); });
    EXPECT_EQ(run(0), SUCCESS);
    reader.join();
    EXPECT_EQ(received, "1,Ana,10,1800\n2,Bruno,200,70000\n");
    EXPECT_TRUE(fs::is_fifo(dir / "sueldos.csv"));
}

TEST_F(SalaryExport, TheSamplePayrollCoversEveryBand) {
    fs::copy_file(SAMPLE_PAYROLL, dir / "archivo.csv");
    EXPECT_EQ(run(0), SUCCESS);
    const std::string written = sueldos();
    EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 20);
    EXPECT_NE(written.find(",120,21600\n"), std::string::npos);
    EXPECT_NE(written.find(",121,29040\n"), std::string::npos);
    EXPECT_NE(written.find(",160,38400\n"), std::string::npos);
    EXPECT_NE(written.find(",161,56350\n"), std::string::npos);
}

// Killed at any step, the program leaves the old salaries or the whole new ones. A kill between
// naming the finished new file and renaming it may leave that hidden name beside them.
class KilledExport : public SalaryExport {
  protected:
    // A coverage build's program writes its counts as it exits: one killed in the middle of that
    // would spoil the counts every later run adds to, so the programs killed here write theirs
    // aside (elsewhere the variable means nothing).
    void SetUp() override {
        payroll(large.archivo);
        setenv("GCOV_PREFIX", counts.path().c_str(), 1);
    }

    void TearDown() override {
        unsetenv("GCOV_PREFIX");
    }

    // Checks that sueldos.csv is whole, old or new, after the kill named by what; clears the
    // folder for the next kill. Whether the new salaries were in place.
    bool checkWhole(const std::string& what) {
        const std::string now = sueldos();
        EXPECT_TRUE(now == PREVIOUS || now == large.sueldos) << what << ": " << now.size();
        for (const std::string& name : othersIn(dir.path())) {
            EXPECT_TRUE(name.starts_with(".sueldos.csv.")) << what << ": " << name;
            fs::remove(dir / name);
        }
        console::writeFile(dir / "sueldos.csv", PREVIOUS);
        return now == large.sueldos;
    }

    const Payroll large = payrollOf(20000);
    console::TempDir counts;
};

TEST_F(KilledExport, AtEveryWriteSyncLinkAndRename) {
    const auto probe = console::runProgram({"/bin/sh", "-c", "exec strace -o /dev/null true"});
    if (probe.exitCode != 0) {
        GTEST_SKIP() << "strace cannot run here: " << probe.output;
    }
    console::writeFile(dir / "sueldos.csv", PREVIOUS);
    int replaced = 0;
    for (const char* call : {"write", "fsync", "linkat", "rename"}) {
        for (int n = 1; n < 200; ++n) {
            const std::string inject = std::string(call) + ":signal=SIGKILL:when=" +
                                       std::to_string(n);
            // A sanitizer's leak check cannot work under a tracer: it is left off there.
            const auto result = console::runProgram(
                {"/bin/sh", "-c",
                 "export ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\"; exec strace -qq -o "
                 "/dev/null -e trace=" +
                     std::string(call) + " -e inject=" + inject + " \"$0\"",
                 MAIN_PATH},
                dir.path());
            const bool killed = result.signal == SIGKILL || result.exitCode == 128 + SIGKILL;
            replaced += checkWhole(inject) ? 1 : 0;
            if (!killed) {
                EXPECT_EQ(result.exitCode, 0) << inject << ": " << result.output;
                break;
            }
        }
    }
    // Each of the four calls ran out of kills with one whole run.
    EXPECT_GE(replaced, 4);
}

TEST_F(KilledExport, BySignalsAtRandomMoments) {
    // How long a whole run takes here, so that the kills spread over all of it.
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(run(0), SUCCESS);
    const auto whole = std::chrono::steady_clock::now() - started;
    checkWhole("a whole run");
    constexpr int ROUNDS = 24;
    const int signals[] = {SIGKILL, SIGTERM, SIGINT};
    for (int round = 0; round < ROUNDS; ++round) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            const int null = open("/dev/null", O_WRONLY);
            if (null < 0 || dup2(null, STDOUT_FILENO) < 0 || chdir(dir.path().c_str()) != 0) {
                _exit(126);
            }
            execl(MAIN_PATH, MAIN_PATH, nullptr);
            _exit(127);
        }
        std::this_thread::sleep_for(whole * round / ROUNDS);
        kill(pid, signals[round % 3]);
        int status = 0;
        waitpid(pid, &status, 0);
        checkWhole("round " + std::to_string(round));
    }
}

} // namespace
