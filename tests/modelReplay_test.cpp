// The model check's replay program, as --repro writes it, built with the C compiler and run.
#include "faultyRuns.h"
#include "files.h"

#include <signal.h>

#include <gtest/gtest.h>
#include <regex>
#include <sstream>

using namespace faulty;

namespace {

// The model check's report holds a C program that replays the failing sequence, which --repro
// writes to a file that compiles as it stands: against the faulty list it stops where the report
// says (an assertion fails, or the crash), against the sound list it runs to its end. The same
// seed gives the same report.
TEST(ModelCheck, ReportsAProgramThatReplaysTheFailure) {
    struct Replay {
        std::string fault;
        std::string base;
        int signal;
    };
    const Replay replays[] = {{"insertMiddleDropsRest", "faultyList.c", SIGABRT},
                              {"countAddsNegatives", "faultyList.c", SIGABRT},
                              {"removeAtSizeReadsPast", "faultyList.c", SIGSEGV},
                              {"staleAfterSizeRewrite", "cachedList.c", SIGABRT},
                              {"cursorNotShiftedOnInsert", "cachedList.c", SIGABRT},
                              {"lenKeepsPositions", "cachedList.c", SIGABRT}};
    console::TempDir dir;
    for (const Replay& replay : replays) {
        const std::vector<std::string> arguments = {"--extended",
                                                    "--seed",
                                                    "3",
                                                    "--case",
                                                    "modelProbeCase01",
                                                    "--repro",
                                                    (dir / "replay.c").string()};
        const auto checked = runChecked(replay.fault, arguments);
        ASSERT_EQ(checked.cases.size(), 1u) << replay.fault;
        const std::string& report = checked.cases[0].report;
        EXPECT_NE(report.find("semilla 3"), std::string::npos) << report;
        EXPECT_EQ(runChecked(replay.fault, arguments).cases[0].report, report);
        std::istringstream lines(report);
        for (std::string line; std::getline(lines, line);) {
            EXPECT_LE(line.size(), 255u);
        }
        const std::string program = console::readFile(dir / "replay.c");
        EXPECT_TRUE(program.starts_with("#include ") && program.ends_with("\n}\n")) << program;
        for (const bool faulty : {true, false}) {
            const std::string binary = (dir / "replay").string();
            const std::string source = (dir / "replay.c").string();
            const std::string list = std::string(LISTS_DIR) + "/" + replay.base;
            std::vector<std::string> compile = {C_COMPILER, "-std=c11", "-I",   LIST_INCLUDE_DIR,
                                                "-o",       binary,     source, list};
            if (faulty) {
                compile.push_back("-DFAULT_" + replay.fault);
            }
            const auto built = console::runProgram(compile);
            ASSERT_EQ(built.exitCode, 0) << built.output << program;
            const auto ran = console::runProgram({binary});
            if (faulty) {
                EXPECT_EQ(ran.signal, replay.signal) << replay.fault << "\n" << program;
            } else {
                EXPECT_EQ(ran.exitCode, 0) << replay.fault << "\n" << ran.output << program;
            }
        }
    }
}

// A list that waits for ever, using no CPU, is stopped by the wall clock: the report still knows
// the step it waits in, the last of the sequence cut down, and marks it in the program.
TEST(ModelCheck, AListThatBlocksIsReportedAtTheStepItWaitsIn) {
    const auto checked = runChecked("waitsInIndexOf", {"--extended", "--seed", "3", "--case",
                                                       "modelProbeCase01", "--timeout", "30"});
    ASSERT_EQ(checked.cases.size(), 1u);
    const std::string& report = checked.cases[0].report;
    std::smatch step;
    ASSERT_TRUE(std::regex_search(report, step, std::regex("paso ([0-9]+) de ([0-9]+),"))) << report;
    EXPECT_EQ(step[1], step[2]) << report;
    EXPECT_NE(step[2], "0") << report;
    EXPECT_TRUE(std::regex_search(report, std::regex("ll_indexOf\\(.*/\\* <- "))) << report;
}

// The replay lands only where it can: a folder that is not there fails the run, and a run with no
// failed case says that it has nothing to write and writes nothing.
TEST(ModelCheck, TheReplayIsWrittenOnlyWhereItCanBe) {
    struct Row {
        std::string list;
        std::string file;
        int exitCode;
        std::string says;
    };
    console::TempDir dir;
    const Row rows[] = {
        {"countAddsNegatives", "no/such/replay.c", 2, "probeRunner: cannot write '"},
        {"sound", "replay.c", 0, "probeRunner: no failed case reported a program: '"},
    };
    for (const Row& row : rows) {
        const std::string file = (dir / row.file).string();
        const auto run = runFaulty(row.list, {"--extended", "--seed", "3", "--case",
                                              "modelProbeCase01", "--repro", file});
        EXPECT_EQ(run.exitCode, row.exitCode) << row.list << "\n" << run.output;
        EXPECT_NE(run.output.find(row.says + file + "'"), std::string::npos) << run.output;
        EXPECT_FALSE(std::filesystem::exists(file)) << row.list;
    }
}

} // namespace
