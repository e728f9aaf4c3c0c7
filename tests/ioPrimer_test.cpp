// The demo program as built, run in a folder of its own.
#include "console.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

const std::string kFileBytes("Hola\n\x18\xf9\x06\x00"
                             "456984",
                             15);

TEST(IoPrimer, WritesFifteenBytesAndReadsTheFirstFourBack) {
    console::TempDir dir;
    const auto run = console::runProgram({IOPRIMER_PATH}, dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "Abrio\nlei la variable 1634496328");
    EXPECT_EQ(console::readFile(dir / "archivo.txt"), kFileBytes);
}

TEST(IoPrimer, ReplacesAnEarlierLongerFile) {
    console::TempDir dir;
    console::writeFile(dir / "archivo.txt", std::string(100, 'z'));
    const auto run = console::runProgram({IOPRIMER_PATH}, dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(console::readFile(dir / "archivo.txt"), kFileBytes);
}

TEST(IoPrimer, AShortReadPrintsZero) {
    console::TempDir dir;
    std::filesystem::create_symlink("/dev/null", dir / "archivo.txt");
    const auto run = console::runProgram({IOPRIMER_PATH}, dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "Abrio\nlei la variable 0");
}

TEST(IoPrimer, PrintsNothingWhenTheFileCannotBeCreated) {
    console::TempDir dir;
    std::filesystem::create_directory(dir / "archivo.txt");
    const auto run = console::runProgram({IOPRIMER_PATH}, dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "");
}

} // namespace
