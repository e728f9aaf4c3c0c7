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

std::string wholeRefusal(const char* option, const char* most, const char* text) {
    return std::string("option '") + option + "' takes a whole number from " +
           (option == std::string("--jobs") ? "1" : "0") + " to " + most +
           " in decimal digits, not '" + text + "'";
}

std::string secondsRefusal(const char* option, const char* text) {
    return std::string("option '") + option +
           "' takes seconds above 0 and at most 86400, in decimal digits with an optional "
           "fraction such as 0.5, not '" +
           text + "'";
}

// Every program, as built, answers alike; the register's in Spanish whatever the locale, the
// checker's (the runner, the class grader, the judge and check-list) in the user's language, and
// the numbers each checker takes refused in the same words, be it C++ or the shell that reads them.
TEST(CommandLine, EveryProgramAnswersHelpVersionAWrongOptionAndABadNumberAlike) {
    const struct {
        const char* path;
        std::string name;
        bool checker;
        std::vector<std::string> number; // a bad one, for the programs that take one
        std::string refusal;
    } programs[] = {
        {REGISTRO_PATH, "registro", false, {}, ""},
        {VENTAS_PATH, "ventas", false, {}, ""},
        {MAIN_PATH, "main", false, {}, ""},
        {IOPRIMER_PATH, "ioPrimer", false, {}, ""},
        {PROBERUNNER_PATH,
         "probeRunner",
         true,
         {"--timeout", "0x10"},
         secondsRefusal("--timeout", "0x10")},
        {PROBERUNNER_PATH,
         "probeRunner",
         true,
         {"--seed=-1"},
         wholeRefusal("--seed", "18446744073709551615", "-1")},
        {CHECKCLASS_PATH,
         "check-list",
         true,
         {"--time-limit", "1e3"},
         secondsRefusal("--time-limit", "1e3")},
        {CHECKCLASS_PATH,
         "check-list",
         true,
         {"--jobs", "010", "--jobs", "257"},
         wholeRefusal("--jobs", "256", "257")},
        {LISTJUDGE_PATH, "listJudge", true, {}, ""},
        {CHECK_LIST_PATH,
         "check-list.sh",
         true,
         {"--timeout", "86400.5"},
         secondsRefusal("--timeout", "86400.5")},
        {CHECK_LIST_PATH,
         "check-list.sh",
         true,
         {"--seed", "18446744073709551616"},
         wholeRefusal("--seed", "18446744073709551615", "18446744073709551616")},
    };
    setenv("TEXTDOMAINDIR", BUILD_DIR "/share/locale", 1);
    setenv("LANG", "C.UTF-8", 1);
    for (const char* language : {"en", "es"}) {
        setenv("LANGUAGE", language, 1);
        const bool spanish = language == std::string("es");
        for (const auto& [path, name, checker, number, refusal] : programs) {
            SCOPED_TRACE(name + " " + language + " " + (number.empty() ? "" : number.back()));
            const console::TempDir dir;
            const auto help = run(path, {"--help"}, dir);
            EXPECT_EQ(help, (Streams{help.out, "", 0}));
            EXPECT_TRUE(
                help.out.starts_with(checker && !spanish ? "Usage: " + name : "Uso: " + name))
                << help.out;
            EXPECT_EQ(run(path, {"-h"}, dir), help);
            EXPECT_EQ(run(path, {"--version"}, dir),
                      (Streams{name + " " PROJECT_VERSION "\n", "", 0}));
            const std::string unknown = !checker  ? "opción desconocida '--bogus'"
                                        : spanish ? "opción desconocida «--bogus»"
                                                  : "unknown option '--bogus'";
            EXPECT_EQ(run(path, {"--bogus"}, dir),
                      (Streams{"", name + ": " + unknown + "\n" + help.out, 2}));
            if (!number.empty() && !spanish) {
                EXPECT_EQ(run(path, number, dir),
                          (Streams{"", name + ": " + refusal + "\n" + help.out, 2}));
            }
            EXPECT_TRUE(console::namesIn(dir.path()).empty());
        }
    }
    unsetenv("LANGUAGE");
}

// check-list reads the runner's options before handing them on: what the runner refuses, it
// refuses first, in the same words, before anything is built.
TEST(CommandLine, CheckListRefusesTheRunnersWrongValuesAsTheRunnerDoes) {
    const std::vector<std::string> wrong[] = {
        {"--seed", "+5"},
        {"--seed=1 "},
        {"--timeout", "5."},
        {"--timeout", ".5"},
        {"--timeout", "1e1"},
        {"--case-timeout", "countProbeCase01"},
        {"--case-timeout", "countProbeCase01=0"},
        {"--tap=yes"},
        {"--timeout"},
    };
    const console::TempDir dir;
    for (const auto& arguments : wrong) {
        SCOPED_TRACE(testing::PrintToString(arguments));
        const auto runner = run(PROBERUNNER_PATH, arguments, dir);
        const auto script = run(CHECK_LIST_PATH, arguments, dir);
        EXPECT_EQ(runner.exitCode, 2);
        EXPECT_EQ(script.exitCode, 2);
        const auto reason = [](const std::string& err) {
            const size_t start = err.find(": ") + 2;
            return err.substr(start, err.find('\n') - start);
        };
        EXPECT_EQ(reason(script.err), reason(runner.err));
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
