// The demo program as built, run in a folder of its own.
#include "console.h"
#include "files.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

const std::string FILE_BYTES("Hola\n\x18\xf9\x06\x00"
                             "456984",
                             15);

console::Run runIn(const console::TempDir& dir, const std::vector<std::string>& args = {}) {
    std::vector<std::string> argv{IOPRIMER_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    return console::runProgram(argv, dir.path());
}

TEST(IoPrimer, WritesFifteenBytesAndReadsTheFirstFourBack) {
    console::TempDir dir;
    const auto run = runIn(dir);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "Abrio\nlei la variable 1634496328");
    EXPECT_EQ(console::readFile(dir / "archivo.txt"), FILE_BYTES);
}

TEST(IoPrimer, ReplacesAnEarlierLongerFile) {
    console::TempDir dir;
    console::writeFile(dir / "archivo.txt", std::string(100, 'z'));
    const auto run = runIn(dir);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(console::readFile(dir / "archivo.txt"), FILE_BYTES);
}

TEST(IoPrimer, SaysWhichStepFailedAndExitsWithOne) {
    console::TempDir dir;
    std::filesystem::create_directory(dir / "archivo.txt");
    auto run = runIn(dir);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "archivo.txt: no se pudo crear: Is a directory\n");
    std::filesystem::remove(dir / "archivo.txt");

    std::filesystem::create_symlink("/dev/full", dir / "archivo.txt");
    run = runIn(dir);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output, "Abrio\narchivo.txt: no se pudo escribir: No space left on device\n");
    std::filesystem::remove(dir / "archivo.txt");

    // Whatever is written there, nothing comes back: no value is printed.
    std::filesystem::create_symlink("/dev/null", dir / "archivo.txt");
    run = runIn(dir);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.output,
              "Abrio\narchivo.txt: no se pudo leer el entero: el archivo tiene menos de 4 bytes\n");
}

TEST(IoPrimer, AnArgumentShowsTheUsageAndTouchesNoFile) {
    console::TempDir dir;
    const auto help = runIn(dir, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.output.starts_with("Uso: ioPrimer\n")) << help.output;
    const auto shortHelp = runIn(dir, {"-h"});
    EXPECT_EQ(shortHelp.exitCode, 0);
    EXPECT_EQ(shortHelp.output, help.output);
    const auto wrong = runIn(dir, {"archivo.txt"});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(wrong.output.ends_with(help.output)) << wrong.output;
    EXPECT_FALSE(std::filesystem::exists(dir / "archivo.txt"));
}

TEST(IoPrimer, OutputThatCannotBeWrittenIsAFailure) {
    console::TempDir dir;
    const auto run = console::runProgram(
        {"/bin/sh", "-c", "exec \"$0\" >/dev/full", IOPRIMER_PATH}, dir.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(console::readFile(dir / "archivo.txt"), FILE_BYTES);
}

} // namespace
