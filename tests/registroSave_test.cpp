// The register program's saves as built, in a folder of their own: whatever stops the program, the
// register holds its old content or the new one whole, and no temporary file of a save outlives
// the program.
#include "console.h"
#include "files.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

const std::string OLD = "id,nombre,apellido,salario,sector\n7,Eva,Luna,1.00,3\n";
const std::string NEW = OLD + "8,Ana,Paz,1.00,1\n";
// An alta, then the end of the answers.
const std::string ALTA_ANSWERS = "1\nAna\nPaz\n1\n1\n";

class RegistroSaves : public ::testing::Test {
  protected:
    // A coverage build's program writes its counts as it exits: one killed in the middle of that
    // would spoil the counts every later run adds to, so the programs killed here write theirs
    // aside (elsewhere the variable means nothing).
    void SetUp() override {
        setenv("GCOV_PREFIX", counts.path().c_str(), 1);
    }
    void TearDown() override {
        unsetenv("GCOV_PREFIX");
    }

    console::TempDir counts;
};

TEST_F(RegistroSaves, KilledAtEveryWriteSyncLinkAndRenameNoTemporaryOutlivesTheProgram) {
    const auto probe = console::runProgram({"/bin/sh", "-c", "exec strace -o /dev/null true"});
    if (probe.exitCode != 0) {
        GTEST_SKIP() << "strace cannot run here: " << probe.output;
    }
    for (const char* signal : {"SIGTERM", "SIGKILL"}) {
        for (const char* call : {"write", "fsync", "linkat", "rename"}) {
            bool killed = true;
            for (int n = 1; killed && n < 100; ++n) {
                const std::string inject =
                    std::string(call) + ":signal=" + signal + ":when=" + std::to_string(n);
                SCOPED_TRACE(inject);
                const console::TempDir dir;
                console::writeFile(dir / "empleados.csv", OLD);
                // A sanitizer's leak check cannot work under a tracer: it is left off there.
                const auto run = console::runProgram(
                    {"/bin/sh", "-c",
                     "export ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\"; exec strace -qq -o "
                     "/dev/null -e trace=" +
                         std::string(call) + " -e inject=" + inject + " \"$0\"",
                     REGISTRO_PATH},
                    dir.path(), ALTA_ANSWERS);
                killed = run.signal != 0;
                EXPECT_TRUE(killed || run.exitCode == 0) << run.output;
                const std::string now = console::readFile(dir / "empleados.csv");
                EXPECT_TRUE(now == OLD || now == NEW) << now;
                const Lines kept = {".empleados.csv.lock", "empleados.csv"};
                if (std::string(signal) == "SIGTERM") {
                    EXPECT_EQ(console::namesIn(dir.path()), kept);
                }
                // What a SIGKILL may leave goes with the next save.
                EXPECT_EQ(console::runProgram({REGISTRO_PATH}, dir.path(), ALTA_ANSWERS).exitCode,
                          0);
                EXPECT_EQ(console::namesIn(dir.path()), kept);
            }
            EXPECT_FALSE(killed) << call << " ran out of kills";
        }
    }
}

} // namespace
