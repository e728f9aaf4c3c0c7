// What probeRunner reports of lists that misbehave (tests/lists/misbehavingList.c): the calls
// behind each kind of failure, what the list prints kept in its case's report whatever the stream,
// a failed write of the results, and a sanitizer's reports cut down to the list's frames.
#include "files.h"
#include "misbehavingRuns.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <gtest/gtest.h>
#include <regex>

using namespace misbehaving;

namespace {

// What the runner says under a failed case, for each kind of failure: the FAIL line, then lines
// that name the calls behind it.
struct PointedAt {
    const char* misbehaviour;
    std::vector<std::string> arguments;
    std::string failLine;           // the case's FAIL line
    std::vector<std::string> notes; // lines that follow it, in this order
};

void PrintTo(const PointedAt& pointedAt, std::ostream* out) {
    *out << pointedAt.misbehaviour;
}

class ReportsPointAtTheBug : public testing::TestWithParam<PointedAt> {};

TEST_P(ReportsPointAtTheBug, NamingTheCallsBehindTheFailure) {
    const PointedAt& expected = GetParam();
    const auto run = runMisbehaving(expected.misbehaviour, expected.arguments);
    EXPECT_EQ(run.exitCode, 1) << run.output;
    const std::string output = std::regex_replace(run.output, std::regex("0x[0-9a-f]+"), "0x?");
    size_t at = output.find(expected.failLine);
    ASSERT_NE(at, std::string::npos) << output;
    at = output.find('\n', at);
    EXPECT_EQ(output.find("\n  checks: ", at), at) << output;
    for (const std::string& note : expected.notes) {
        const size_t found = output.find("\n  " + note, at);
        EXPECT_NE(found, std::string::npos) << note << "\n" << output;
        at = found == std::string::npos ? at : found;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Probe, ReportsPointAtTheBug,
    testing::Values(
        // The answer of the last call, and which of the two values is the list's.
        PointedAt{"prints",
                  {"--case", "countProbeCase01"},
                  "FAIL countProbe countProbeCase01 countProbe.cpp:",
                  {"after ll_newLinkedList() returned list, then ll_len(list) returned 6\n",
                   "the list's answer is '6', the expected value '5'\n",
                   "[countProbeCase01] assert equals failed '6' != '5'"}},
        // A crash after a call shows what the calls before it returned.
        PointedAt{
            "crashesInPop",
            {"--case", "appendProbeCase03"},
            "FAIL appendProbe appendProbeCase03 crashed (SIGSEGV) after test_getNode(list, 4)",
            {"after test_getNode(list, 1) returned 0x?, then test_getNode(list, 2) returned "
             "0x?, then test_getNode(list, 3) returned 0x?, then test_getNode(list, 4) "
             "returned 0x?\n"}},
        // A leak names the calls that allocated the blocks left behind.
        PointedAt{"leaks",
                  {"--extended", "--case", "heapProbeCase01"},
                  "FAIL heapProbe heapProbeCase01 the list leaked 2 blocks (32 bytes)",
                  {"left behind: 2 blocks (32 bytes) allocated in ll_add(list, NULL)\n"}},
        // A node carved from a larger block fails the case once, and the run goes on.
        PointedAt{"carvesNodes",
                  {"--extended", "--case", "rewriteProbeCase01"},
                  "FAIL rewriteProbe rewriteProbeCase01 a node the case freed was not a block of "
                  "its own from malloc after ll_len(list)",
                  {"after ", "the case frees the nodes past size itself, so every node must be a "
                             "block of its own from malloc; 3 such frees were not passed on"}}),
    [](const auto& info) { return std::string(info.param.misbehaviour); });

TEST(ProbeOutput, WhatTheListPrintsStaysInTheReportOfItsCase) {
    const auto run = runMisbehaving("prints", {"--case", "countProbeCase01"});
    EXPECT_EQ(run.exitCode, 1);
    const std::string label = "  [countProbeCase01] ";
    const std::string expectedStart = "FAIL countProbe countProbeCase01 countProbe.cpp:";
    ASSERT_TRUE(run.output.starts_with(expectedStart)) << run.output;
    const std::vector<std::string> lines = linesOf(run.output);
    ASSERT_GT(lines.size(), 12u);
    // The runner's own lines come first, then the report block, every line of it labelled.
    const auto block = std::find_if(lines.begin(), lines.end(), [&label](const std::string& line) {
        return line.starts_with(label);
    });
    ASSERT_NE(block, lines.end());
    EXPECT_EQ(*block, label + "assert equals failed '6' != '5'");
    for (size_t i = static_cast<size_t>(block - lines.begin()); i + 1 < lines.size(); i++) {
        EXPECT_TRUE(lines[i].starts_with("  [countProbeCase01]")) << lines[i];
    }
    EXPECT_NE(run.output.find(label + "the list printed:\n" + label + "  ll_len: size 5\n" + label +
                              "  000"),
              std::string::npos)
        << run.output;
    EXPECT_TRUE(std::regex_search(run.output, std::regex(R"(\.\.\. and \d+ more bytes\n)")))
        << run.output;
    EXPECT_NE(run.output.find(label + "the list printed on standard error:\n" + label +
                              "  FAIL fake line\n" + label + "  not ok 99 - fake\n" + label +
                              "  </system-err>&??\n"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(lines.back(), "0 passed, 1 failed");
}

TEST(ProbeOutput, TapAndJunitStayValidWhateverTheListPrints) {
    console::TempDir dir;
    const auto run = runMisbehaving(
        "prints", {"--tap", "--group", "countProbe", "--junit", (dir / "results.xml").string()});
    EXPECT_EQ(run.exitCode, 1);
    const std::regex tapLine(
        R"(TAP version 13|1\.\.3|(not )?ok \d - countProbe countProbeCase0\d|#( .*)?)");
    for (const std::string& line : linesOf(run.output)) {
        EXPECT_TRUE(std::regex_match(line, tapLine)) << line;
    }
    EXPECT_NE(run.output.find("# the list printed on standard error:\n#   FAIL fake line\n"),
              std::string::npos)
        << run.output;

    const std::string xml = console::readFile(dir / "results.xml");
    for (const char c : xml) {
        EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n') << xml;
    }
    // Cases 01 and 02 fail on the length the list answers and printed; case 03 passes silently.
    auto count = [&xml](const std::string& text) {
        size_t found = 0;
        for (size_t at = xml.find(text); at != std::string::npos; at = xml.find(text, at + 1)) {
            found++;
        }
        return found;
    };
    EXPECT_EQ(count("<testcase "), 3u);
    EXPECT_EQ(count("</testcase>"), 2u);
    EXPECT_EQ(count("<system-out>"), 2u);
    EXPECT_EQ(count("<system-err>"), 2u);
    EXPECT_EQ(count("</system-err>\n"), 2u);
    EXPECT_EQ(count("<failure "), 2u);
    EXPECT_NE(
        xml.find("<system-err>FAIL fake line\nnot ok 99 - fake\n&lt;/system-err&gt;&amp;??\n"),
        std::string::npos)
        << xml;
}

TEST(ProbeOutput, AFailedWriteOfTheResultsIsStatusTwo) {
    auto runTo = [](const char* device, bool closedPipe) {
        int errors[2];
        int results[2];
        EXPECT_EQ(pipe(errors), 0);
        EXPECT_EQ(pipe(results), 0);
        const pid_t pid = fork();
        if (pid == 0) {
            const int out = closedPipe ? results[1] : open(device, O_WRONLY);
            dup2(out, STDOUT_FILENO);
            dup2(errors[1], STDERR_FILENO);
            close(errors[0]);
            close(results[0]);
            execl(runnerPath("wellBehaved").c_str(), "probeRunner", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(errors[1]);
        close(results[1]);
        close(results[0]);
        std::string message;
        char chunk[256];
        for (ssize_t n = 0; (n = read(errors[0], chunk, sizeof chunk)) > 0;) {
            message.append(chunk, static_cast<size_t>(n));
        }
        close(errors[0]);
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status)) << status;
        return std::pair{WEXITSTATUS(status), message};
    };
    EXPECT_EQ(runTo("/dev/full", false),
              std::pair(2, std::string("probeRunner: cannot write the results: No space left on "
                                       "device\n")));
    EXPECT_EQ(runTo(nullptr, true),
              std::pair(2, std::string("probeRunner: cannot write the results: Broken pipe\n")));
}

#if defined(__SANITIZE_ADDRESS__)
// The report cut down to the list's own frames, relative to its folder; the same report in a
// later case referred to; the whole report with --verbose.
TEST(ProbeSanitizer, ShowsTheListsFramesOnceAndTheWholeReportWhenVerbose) {
    const auto run = runMisbehaving("useAfterFree", {"--group", "extractProbe"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(std::regex_search(
        run.output,
        std::regex(R"(\n  \[extractProbeCase01\]     misbehavingList\.c:\d+ in ll_pop\n)")))
        << run.output;
    EXPECT_EQ(run.output.find("testing/runner/"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("  [extractProbeCase02]   the same report as for extractProbeCase01"),
              std::string::npos)
        << run.output;
    const auto verbose =
        runMisbehaving("useAfterFree", {"--verbose", "--case", "extractProbeCase02"});
    EXPECT_NE(verbose.output.find("Shadow bytes around the buggy address"), std::string::npos)
        << verbose.output;
}

TEST(ProbeSanitizer, AUseAfterFreeFailsItsCaseWithTheSanitizersFirstLine) {
    const auto run = runMisbehaving("useAfterFree", {"--case", "extractProbeCase02"});
    EXPECT_EQ(run.exitCode, 1);
    const auto fails = failLines(run.output);
    ASSERT_EQ(fails.size(), 1u) << run.output;
    EXPECT_TRUE(std::regex_match(
        fails[0],
        std::regex("FAIL extractProbe extractProbeCase02 ERROR: AddressSanitizer: "
                   "heap-use-after-free on address 0x[0-9a-f]+ .* in ll_pop\\(list, 0\\)")))
        << fails[0];
    EXPECT_NE(run.output.find("  [extractProbeCase02] the sanitizer reported:\n"),
              std::string::npos)
        << run.output;
}
#endif

} // namespace
