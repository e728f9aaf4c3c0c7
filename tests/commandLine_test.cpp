// Every program reads its command line alike: --help and -h print the usage on standard output,
// --version one line with the program's name and the project's version, a wrong command line a
// line that names the program and then the usage on standard error; none of them touches a file.
#include "console.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Program {
    const char* path;
    const char* name;
    std::vector<std::string> wrong; // a command line it refuses
};

const Program kPrograms[] = {
    {REGISTRO_PATH, "registro", {"-x"}},
    {VENTAS_PATH, "ventas", {"a.csv", "--bogus"}},
    {MAIN_PATH, "main", {"archivo.csv"}},
    {IOPRIMER_PATH, "ioPrimer", {"-"}},
    {PROBERUNNER_PATH, "probeRunner", {"--list", "-x"}},
    {CHECK_LIST_PATH, "check-list.sh", {"--version=1"}},
};

struct Streams {
    std::string out;
    std::string err;
    int exitCode;
};

// Runs the program in dir with its standard error kept apart from its standard output.
Streams run(const Program& program, const std::vector<std::string>& args,
            const console::TempDir& dir) {
    const console::TempDir errDir;
    std::vector<std::string> argv{"/bin/sh", "-c", "err=$1; shift; exec \"$0\" \"$@\" 2>\"$err\"",
                                  program.path, (errDir / "err").string()};
    argv.insert(argv.end(), args.begin(), args.end());
    const auto result = console::runProgram(argv, dir.path());
    return {result.output, console::readFile(errDir / "err"), result.exitCode};
}

TEST(CommandLine, EveryProgramAnswersHelpVersionAndAWrongLineAlike) {
    for (const auto& program : kPrograms) {
        SCOPED_TRACE(program.name);
        const console::TempDir dir;
        const auto help = run(program, {"--help"}, dir);
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_NE(help.out, "");
        EXPECT_EQ(help.err, "");
        const auto shortHelp = run(program, {"-h"}, dir);
        EXPECT_EQ(shortHelp.out, help.out);

        const auto version = run(program, {"--version"}, dir);
        EXPECT_EQ(version.exitCode, 0);
        EXPECT_EQ(version.out, std::string(program.name) + " " PROJECT_VERSION "\n");
        EXPECT_EQ(version.err, "");

        const auto wrong = run(program, program.wrong, dir);
        EXPECT_EQ(wrong.exitCode, 2);
        EXPECT_EQ(wrong.out, "");
        const auto lineEnd = wrong.err.find('\n');
        EXPECT_TRUE(wrong.err.starts_with(std::string(program.name) + ": ")) << wrong.err;
        EXPECT_NE(wrong.err.find(program.wrong.back()), std::string::npos) << wrong.err;
        EXPECT_EQ(wrong.err.substr(lineEnd + 1), help.out);

        EXPECT_EQ(console::namesIn(dir.path()), std::vector<std::string>{});
    }
}

TEST(CommandLine, AfterTwoDashesAnArgumentIsAFileWhateverItLooksLike) {
    const console::TempDir dir;
    console::writeFile(dir / "-x", console::readFile(SAMPLE_DIR "/ventas.csv"));
    const auto sample = run(kPrograms[1], {SAMPLE_DIR "/ventas.csv"}, dir);
    const auto sales = run(kPrograms[1], {"--", "-x"}, dir);
    EXPECT_EQ(sales.exitCode, 0);
    EXPECT_EQ(sales.out, sample.out);
}

} // namespace
