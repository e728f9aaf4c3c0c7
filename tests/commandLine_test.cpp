// Every program reads its command line alike: --help and -h print the usage on standard output,
// --version "NAME VERSION", a wrong command line one line naming the program and then the usage on
// standard error; none of them touches a file.
#include "console.h"
#include "files.h"

#include <gtest/gtest.h>

#include <ostream>
#include <regex>
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

// check-list takes the runner's options itself: its help names each, but for the one the judge
// keeps (--transcript), the one that would lift the runner's protection (--no-fork) and the
// extended checks, which it runs unless told --basic.
TEST(CommandLine, CheckListsHelpNamesEveryRunnerOptionItPassesOn) {
    const console::TempDir dir;
    const std::string runner = run(PROBERUNNER_PATH, {"--help"}, dir).out;
    const std::string help = run(CHECK_LIST_PATH, {"--help"}, dir).out;
    const std::regex option("\n  (--[a-z-]+)");
    size_t named = 0;
    for (auto at = std::sregex_iterator(runner.begin(), runner.end(), option);
         at != std::sregex_iterator(); ++at, ++named) {
        const std::string name = (*at)[1];
        if (name != "--transcript" && name != "--no-fork" && name != "--extended") {
            EXPECT_NE(help.find("\n  " + name + " "), std::string::npos) << name;
        }
    }
    EXPECT_GT(named, 15U);
    EXPECT_NE(help.find("\n  --basic "), std::string::npos);
    EXPECT_NE(help.find("/inc/LinkedList.h,\n"), std::string::npos) << help;
}

TEST(CommandLine, AfterTwoDashesAnArgumentIsAFileWhateverItLooksLike) {
    const console::TempDir dir;
    console::writeFile(dir / "-x", console::readFile(SAMPLE_DIR "/ventas.csv"));
    const auto sample = run(VENTAS_PATH, {SAMPLE_DIR "/ventas.csv"}, dir);
    EXPECT_EQ(run(VENTAS_PATH, {"--", "-x"}, dir), (Streams{sample.out, "", 0}));
}

} // namespace
