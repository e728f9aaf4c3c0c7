// probeRunner as built against the bundled list: its output, options and exit status.
#include "console.h"
#include "files.h"
#include "smallDisk.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <regex>

namespace {

constexpr int CASES = 33;
const std::string BANNER = "Setup...\r\n";

// The conformance groups in the order they run, with their number of cases, as the case list
// names them.
std::vector<std::pair<std::string, int>> conformanceGroups() {
    std::vector<std::pair<std::string, int>> groups;
    auto add = [&groups](const std::string& group) {
        if (groups.empty() || groups.back().first != group) {
            groups.emplace_back(group, 0);
        }
        groups.back().second++;
    };
#define CONFORMANCE_CASE(group, number, description) add(#group);
#define EXTENDED_CASE(group, number, description)
#include "probeCases.h"
#undef CONFORMANCE_CASE
#undef EXTENDED_CASE
    return groups;
}

const std::vector<std::pair<std::string, int>> GROUPS = conformanceGroups();

console::Run runner(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), PROBERUNNER_PATH);
    return console::runProgram(arguments);
}

// Every case as "group groupCaseNN", in the order they run.
std::vector<std::string> allCases() {
    std::vector<std::string> cases;
    for (const auto& [group, count] : GROUPS) {
        for (int i = 1; i <= count; i++) {
            cases.push_back(group + " " + group + (i < 10 ? "Case0" : "Case") + std::to_string(i));
        }
    }
    return cases;
}

std::string repeat(const std::string& text, int times) {
    std::string repeated;
    for (int i = 0; i < times; i++) {
        repeated += text;
    }
    return repeated;
}

// The plain output of a run in which every case passes; with --report, the report between the
// lines and the summary.
std::string passingRun(const std::string& report = "") {
    std::string expected;
    for (const std::string& name : allCases()) {
        expected += "PASS " + name + "\n";
    }
    return expected + report + "33 passed, 0 failed\n";
}

TEST(ProbeRunner, PassesEveryCase) {
    const auto run = runner({});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, passingRun());
}

TEST(ProbeRunner, ShowsOnlyTheNineBannersAsTheWholeReport) {
    const auto run = runner({"--report"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, passingRun(repeat(BANNER, 9)));
}

TEST(ProbeRunner, RunsTheSameInProcessWithoutFork) {
    // The cases keep their lists on purpose: leak checking would fail a run in one process.
    setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
    const auto run = runner({"--no-fork", "--report"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, passingRun(repeat(BANNER, 9)));
}

// Each case with its description, which names the list functions it calls.
TEST(ProbeRunner, ListsEveryCaseInOrderWithWhatItChecks) {
    const auto run = runner({"--list"});
    EXPECT_EQ(run.exitCode, 0);
    std::string names;
    const std::regex described(R"((\w+ \w+)  \S.*\((?:test|ll)_\w+.*\)\n)");
    for (std::sregex_iterator line(run.output.begin(), run.output.end(), described), end;
         line != end; ++line) {
        names += (*line)[1].str() + "\n";
    }
    std::string expected;
    for (const std::string& name : allCases()) {
        expected += name + "\n";
    }
    EXPECT_EQ(names, expected) << run.output;
    EXPECT_NE(run.output.find("countProbe countProbeCase03  a null list answers -1 (ll_len)\n"),
              std::string::npos);
}

// The names a --list run shows, without their descriptions.
std::string listedNames(const std::vector<std::string>& arguments) {
    const std::string output = runner(arguments).output;
    return std::regex_replace(output, std::regex("(\\w+ \\w+)  .*"), "$1");
}

TEST(ProbeRunner, FiltersByGroupAndByCase) {
    EXPECT_EQ(listedNames({"--list", "--group", "countProbe", "--group=disposeProbe"}),
              "countProbe countProbeCase01\ncountProbe countProbeCase02\n"
              "countProbe countProbeCase03\ndisposeProbe disposeProbeCase01\n"
              "disposeProbe disposeProbeCase02\n");
    EXPECT_EQ(listedNames({"--list", "--case", "Case05"}),
              "appendProbe appendProbeCase05\nfetchProbe fetchProbeCase05\n"
              "extractProbe extractProbeCase05\n");
    EXPECT_EQ(listedNames({"--list", "--case", "sliceProbeCase03", "--case", "Case02", "--group",
                           "sliceProbe"}),
              "sliceProbe sliceProbeCase02\nsliceProbe sliceProbeCase03\n");
}

TEST(ProbeRunner, RunsTheSetupOfTheSelectedGroupsOnly) {
    EXPECT_EQ(runner({"--group", "positionProbe", "--report"}).output,
              "PASS positionProbe positionProbeCase01\n"
              "PASS positionProbe positionProbeCase02\n" +
                  BANNER + "2 passed, 0 failed\n");
}

TEST(ProbeRunner, WritesATapStreamWithItsPlan) {
    std::string expected = "TAP version 13\n1..33\n";
    int number = 0;
    for (const std::string& name : allCases()) {
        expected += "ok " + std::to_string(++number) + " - " + name + "\n";
    }
    const auto run = runner({"--tap"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, expected + "# 33 passed, 0 failed\n");
    EXPECT_EQ(runner({"--tap", "--report", "--group", "countProbe"}).output,
              "TAP version 13\n1..3\nok 1 - countProbe countProbeCase01\n"
              "ok 2 - countProbe countProbeCase02\nok 3 - countProbe countProbeCase03\n"
              "# Setup...\n# 3 passed, 0 failed\n");
    EXPECT_EQ(runner({"--tap", "--case", "Case04"}).output.substr(0, 20), "TAP version 13\n1..5\n");
}

TEST(ProbeRunner, WritesJunitXmlBesideThePlainLines) {
    console::TempDir dir;
    const auto run = runner({"--junit", (dir / "results.xml").string()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, passingRun());
    const std::string xml = console::readFile(dir / "results.xml");
    EXPECT_EQ(
        xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"probeRunner\" "
                  "tests=\"33\" failures=\"0\" time=\"",
                  0),
        0u);
    for (const auto& [group, count] : GROUPS) {
        EXPECT_NE(xml.find("<testsuite name=\"" + group + "\" tests=\"" + std::to_string(count) +
                           "\" failures=\"0\" errors=\"0\""),
                  std::string::npos)
            << group;
    }
    EXPECT_NE(xml.find("<testcase classname=\"fetchProbe\" name=\"fetchProbeCase04\" time=\""),
              std::string::npos);
    size_t testcases = 0;
    for (size_t at = xml.find("<testcase "); at != std::string::npos;
         at = xml.find("<testcase ", at + 1)) {
        testcases++;
    }
    EXPECT_EQ(testcases, static_cast<size_t>(CASES));
    EXPECT_TRUE(xml.ends_with("    </testcase>\n  </testsuite>\n</testsuites>\n") ||
                xml.ends_with("/>\n  </testsuite>\n</testsuites>\n"))
        << xml;
}

TEST(ProbeRunner, FailsWhenTheJunitFileCannotBeWritten) {
    console::TempDir dir;
    const auto run = runner({"--case", "Case01", "--junit", (dir / "no/such/folder.xml").string()});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.output.find("probeRunner: cannot write"), std::string::npos);
}

// A results file that cannot be written whole leaves the one it was to replace as it was.
TEST(ProbeRunner, AJunitFileOnAFullDiskKeepsTheOldOne) {
    const console::SmallDisk disk(16);
    if (!disk.mounted()) {
        GTEST_SKIP() << disk.why();
    }
    console::writeFile(disk / "results.xml", "old\n");
    // Even with the old file's page given back, the results of every check need more.
    console::writeFile(disk / "filler", std::string(12 * 1024, 'x'));
    const auto run =
        runner({"--extended", "--seed", "1", "--junit", (disk / "results.xml").string()});
    EXPECT_EQ(run.exitCode, 2) << run.output;
    EXPECT_EQ(console::readFile(disk / "results.xml"), "old\n");
    EXPECT_EQ(console::namesIn(disk / ""), (std::vector<std::string>{"filler", "results.xml"}));
}

TEST(ProbeRunner, ShowsOnlyTheFailuresAndTheSummaryWhenAsked) {
    const auto run = runner({"--failures"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, "33 passed, 0 failed\n");
}

// Colour at a terminal, unless NO_COLOR says otherwise; never in a pipe (the exact outputs
// above).
TEST(ProbeRunner, ColoursTheResultsAtATerminalOnly) {
    const std::vector<std::string> arguments = {PROBERUNNER_PATH, "--group", "countProbe"};
    unsetenv("NO_COLOR");
    const auto coloured = console::runProgramAtTerminal(arguments, console::Typing{});
    EXPECT_EQ(coloured.exitCode, 0);
    EXPECT_NE(coloured.output.find("\033[32mPASS\033[0m countProbe countProbeCase01"),
              std::string::npos)
        << coloured.output;
    setenv("NO_COLOR", "1", 1);
    const auto plain = console::runProgramAtTerminal(arguments, console::Typing{});
    unsetenv("NO_COLOR");
    EXPECT_EQ(plain.output.find('\033'), std::string::npos) << plain.output;
    EXPECT_NE(plain.output.find("PASS countProbe countProbeCase01"), std::string::npos);
}

TEST(ProbeRunner, ShowsHelp) {
    const auto run = runner({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output.rfind("Usage: probeRunner [OPTION]...\n", 0), 0u);
    for (const char* option :
         {"--group NAME", "--case NAME", "--list", "--tap", "--junit FILE", "--report",
          "--failures", "--verbose", "--repro FILE", "--no-fork", "--timeout SECONDS", "--help"}) {
        EXPECT_NE(run.output.find(option), std::string::npos) << option;
    }
}

TEST(ProbeRunner, RefusesBadOptionsWithStatusTwoAndRunsNothing) {
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"},
        {"--group", "nope"},
        {"--case", "Case09"},
        {"--case", "Case02", "--case", "nope"},
        {"--case=fetchProbeCase01", "--case", "fetchProbeCase1"},
        {"--case", "Case"},
        {"--timeout", "0"},
        {"--timeout", "-1"},
        {"--timeout=1s"},
        {"--timeout", "86400.5"},
        {"--timeout", "1e10"},
        {"--timeout", "1e19"},
        {"--timeout", "inf"},
        {"--timeout", "0x10"},
        {"--timeout", "1e1"},
        {"--timeout", " 5"},
        {"--timeout", "+5"},
        {"--timeout", "5."},
        {"--seed", "0x10"},
        {"--seed", "+5"},
        {"--timeout"},
        {"--seed", "x"},
        {"--seed", "-1"},
        {"--seed", "99999999999999999999"},
        {"--list=yes"},
        {"--help=1"},
        {"-h=1"},
        {"--version=2"},
        {"--bogus=1"},
        {""},
        {"--failures", "--tap"},
        {"--repro"},
        {"extra"},
        {"--group", "positionProbe", "--case", "memberProbeCase02"}};
    for (const auto& arguments : bad) {
        const auto run = runner(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments[0];
        EXPECT_EQ(run.output.rfind("probeRunner: ", 0), 0u) << run.output;
        EXPECT_EQ(run.output.find("PASS"), std::string::npos) << run.output;
    }
}

TEST(ProbeRunner, AcceptsAFractionalTimeout) {
    const auto run = runner({"--timeout", "0.5", "--group", "extractProbe"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.output.find("5 passed, 0 failed\n"), std::string::npos);
}

TEST(ProbeRunner, AcceptsASeed) {
    const auto run = runner({"--seed", "18446744073709551615", "--group", "countProbe"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.output.find("3 passed, 0 failed\n"), std::string::npos);
}

TEST(ProbeRunner, AcceptsATimeoutOfUpToADay) {
    const auto run = runner({"--timeout", "86400", "--group", "countProbe"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.output.find("3 passed, 0 failed\n"), std::string::npos);
}

} // namespace
