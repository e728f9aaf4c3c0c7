// Every program reads its command line alike: --help and -h print the usage on standard output,
// --version "NAME VERSION", a wrong command line one line naming the program and then the usage on
// standard error; none of them touches a file.
#include "console.h"
#include "files.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

struct Streams {
    std::string out;
    std::string err;
    int exitCode;
    bool operator==(const Streams&) const = default;
    friend std::ostream& operator<<(std::ostream& os, const Streams& s) {
        return os << "status " << s.exitCode << ", out \"" << s.out << "\", err \"" << s.err << '"';
    }
};

// Runs the program in dir, its standard error kept apart from its standard output.
Streams run(const char* path, std::vector<std::string> args, const console::TempDir& dir) {
    const console::TempDir errDir;
    args.insert(args.begin(), {"/bin/sh", "-c", "e=$1; shift; exec \"$0\" \"$@\" 2>\"$e\"", path,
                               (errDir / "err").string()});
    const auto result = console::runProgram(args, dir.path());
    return {result.output, console::readFile(errDir / "err"), result.exitCode};
}

TEST(CommandLine, EveryProgramAnswersHelpVersionAndAWrongLineAlike) {
    const struct {
        const char* path;
        std::string name;
        std::vector<std::string> wrong;
    } programs[] = {{REGISTRO_PATH, "registro", {"-x"}},
                    {VENTAS_PATH, "ventas", {"a.csv", "--bogus"}},
                    {MAIN_PATH, "main", {"archivo.csv"}},
                    {IOPRIMER_PATH, "ioPrimer", {"-"}},
                    {PROBERUNNER_PATH, "probeRunner", {"--list", "-x"}},
                    {CHECK_LIST_PATH, "check-list.sh", {"--version=1"}}};
    for (const auto& [path, name, wrong] : programs) {
        SCOPED_TRACE(name);
        const console::TempDir dir;
        const auto help = run(path, {"--help"}, dir);
        EXPECT_EQ(help, (Streams{help.out, "", 0}));
        EXPECT_NE(help.out, "");
        EXPECT_EQ(run(path, {"-h"}, dir), help);
        EXPECT_EQ(run(path, {"--version"}, dir), (Streams{name + " " PROJECT_VERSION "\n", "", 0}));
        const auto refused = run(path, wrong, dir);
        const auto reason = refused.err.substr(0, refused.err.find('\n') + 1);
        EXPECT_EQ(refused, (Streams{"", reason + help.out, 2}));
        EXPECT_TRUE(reason.starts_with(name + ": ") && reason.find(wrong.back()) != reason.npos);
        EXPECT_TRUE(console::namesIn(dir.path()).empty());
    }
}

TEST(CommandLine, AfterTwoDashesAnArgumentIsAFileWhateverItLooksLike) {
    const console::TempDir dir;
    console::writeFile(dir / "-x", console::readFile(SAMPLE_DIR "/ventas.csv"));
    const auto sample = run(VENTAS_PATH, {SAMPLE_DIR "/ventas.csv"}, dir);
    EXPECT_EQ(run(VENTAS_PATH, {"--", "-x"}, dir), (Streams{sample.out, "", 0}));
}

} // namespace
