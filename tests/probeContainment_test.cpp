// probeRunner against lists that misbehave (tests/lists/misbehavingList.c): each misbehaviour
// fails its own cases with a reason that names it, what the list prints stays in its case's
// report, and nothing the list starts outlives its case or the runner, however the runner ends.
#include "console.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>
#include <thread>

namespace {

using namespace std::chrono_literals;

std::string runnerPath(const std::string& misbehaviour) {
    return std::string(MISBEHAVING_DIR) + "/probeRunner_" + misbehaviour;
}

// Sets an environment variable for the life of the object, or clears it for a null value.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
};

// A crash must reach the runner as its signal, also in the sanitised build.
console::Run runMisbehaving(const std::string& misbehaviour, std::vector<std::string> arguments) {
    const ScopedEnv asan("ASAN_OPTIONS", "handle_segv=0");
    arguments.insert(arguments.begin(), runnerPath(misbehaviour));
    return console::runProgram(arguments);
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The FAIL lines of a plain run.
std::vector<std::string> failLines(const std::string& output) {
    std::vector<std::string> fails;
    for (const std::string& line : linesOf(output)) {
        if (line.starts_with("FAIL ")) {
            fails.push_back(line);
        }
    }
    return fails;
}

// True while the process runs (a zombie has ended).
bool isRunning(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) {
        return false;
    }
    const size_t close = line.rfind(')');
    return close != std::string::npos && line.size() > close + 2 && line[close + 2] != 'Z';
}

// The pids the list's left-behind processes noted, once every one of them has ended (or after
// five seconds, with those still running).
struct LeftBehind {
    std::vector<pid_t> noted;
    std::vector<pid_t> running;
};

LeftBehind leftBehind(const std::string& pidFile) {
    LeftBehind found;
    std::ifstream in(pidFile);
    for (pid_t pid = 0; in >> pid;) {
        found.noted.push_back(pid);
    }
    for (const auto deadline = std::chrono::steady_clock::now() + 5s;;) {
        found.running.clear();
        for (const pid_t pid : found.noted) {
            if (isRunning(pid)) {
                found.running.push_back(pid);
            }
        }
        if (found.running.empty() || std::chrono::steady_clock::now() > deadline) {
            return found;
        }
        std::this_thread::sleep_for(20ms);
    }
}

// The two ways of keeping a case's processes together: a PID namespace per case where the
// system permits it, and the subreaper alone.
class Containment : public testing::TestWithParam<bool> {
  protected:
    Containment() : fallback_("PROBERUNNER_NO_PID_NAMESPACE", GetParam() ? "1" : nullptr) {}
    console::TempDir dir_;
    const std::string pids_ = (dir_ / "pids").string();
    const ScopedEnv pidFile_{"PROBE_TEST_PIDS", pids_.c_str()};

  private:
    ScopedEnv fallback_;
};

INSTANTIATE_TEST_SUITE_P(Probe, Containment, testing::Bool(), [](const auto& info) {
    return info.param ? "SubreaperAlone" : "PidNamespaceWherePermitted";
});

TEST_P(Containment, AProcessLeftHoldingTheOutputNeitherDelaysNorOutlivesItsCase) {
    for (const char* misbehaviour : {"forksHolder", "forksDetached"}) {
        const auto run = runMisbehaving(misbehaviour, {});
        EXPECT_FALSE(run.timedOut) << misbehaviour;
        EXPECT_EQ(run.exitCode, 0) << misbehaviour;
        EXPECT_TRUE(run.output.ends_with("\n33 passed, 0 failed\n")) << run.output;
        const LeftBehind left = leftBehind(pids_);
        EXPECT_GE(left.noted.size(), 20u) << misbehaviour;
        EXPECT_TRUE(left.running.empty()) << misbehaviour << ": " << left.running.size();
        std::filesystem::remove(pids_);
    }
}

TEST_P(Containment, StoppingTheRunnerMidCaseLeavesNoProcessOfTheCase) {
    const std::string hanging = (dir_ / "hanging").string();
    const ScopedEnv mark("PROBE_TEST_HANGING", hanging.c_str());
    for (const int signal : {SIGINT, SIGTERM, SIGKILL}) {
        std::filesystem::remove(hanging);
        std::filesystem::remove(pids_);
        const std::string output = (dir_ / "output").string();
        const pid_t runner = fork();
        ASSERT_GE(runner, 0);
        if (runner == 0) {
            const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(out, STDOUT_FILENO);
            dup2(out, STDERR_FILENO);
            execl(runnerPath("hangs").c_str(), "probeRunner", "--case", "positionProbeCase01",
                  "--timeout", "60", static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 500 && !std::filesystem::exists(hanging); i++) {
            std::this_thread::sleep_for(20ms);
        }
        ASSERT_TRUE(std::filesystem::exists(hanging)) << console::readFile(output);
        kill(runner, signal);
        int status = 0;
        ASSERT_EQ(waitpid(runner, &status, 0), runner);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        if (signal != SIGKILL) {
            EXPECT_EQ(console::readFile(output),
                      std::string("probeRunner: stopped by SIG") + sigabbrev_np(signal) + "\n");
        }
        const LeftBehind left = leftBehind(pids_);
        EXPECT_EQ(left.noted.size(), 1u) << sigabbrev_np(signal);
        EXPECT_TRUE(left.running.empty()) << sigabbrev_np(signal);
    }
}

// A list that kills its parent again and again: without a PID namespace, the runner inherits it
// and is the next parent it signals.
TEST_P(Containment, AListThatKillsItsParentFailsItsCaseAndTheRunGoesOn) {
    const auto run = runMisbehaving("killsParent", {"--group", "countProbe"});
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_EQ(failLines(run.output).size(), 2u) << run.output;
    EXPECT_TRUE(run.output.ends_with("\n1 passed, 2 failed\n")) << run.output;
}

// A list that writes to the terminal, and to the standard output of the processes above it
// through /proc, reaches neither the results nor the terminal.
TEST_P(Containment, AListCannotWriteAroundTheRunnerAtATerminal) {
    const ScopedEnv plain("NO_COLOR", "1");
    const auto run = console::runProgramAtTerminal(
        {runnerPath("writesAround"), "--group", "countProbe"}, console::Typing{});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output.find("WRITTEN AROUND"), std::string::npos) << run.output;
    EXPECT_TRUE(run.output.ends_with("3 passed, 0 failed\r\n") ||
                run.output.ends_with("3 passed, 0 failed\n"))
        << run.output;
}

TEST(ProbeCalls, AHangNamesTheCallItHangsIn) {
    const auto run = runMisbehaving("hangs", {"--case", "positionProbeCase01", "--timeout", "0.3"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(failLines(run.output),
              std::vector<std::string>{"FAIL positionProbe positionProbeCase01 timed out after "
                                       "0.3 s in ll_indexOf(list, 0x1)"});
}

TEST(ProbeCalls, ACrashNamesTheCallItCrashesInOrAfter) {
    const auto run = runMisbehaving("crashesInPop", {"--group", "extractProbe"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(failLines(run.output),
              std::vector<std::string>{
                  "FAIL extractProbe extractProbeCase04 crashed (SIGSEGV) in ll_pop(list, -1)"});
    EXPECT_TRUE(run.output.ends_with("\n4 passed, 1 failed\n")) << run.output;
    // The node handed back is read by the case, once the list has returned.
    EXPECT_EQ(failLines(runMisbehaving("crashesInPop", {"--case", "appendProbeCase03"}).output),
              std::vector<std::string>{"FAIL appendProbe appendProbeCase03 crashed (SIGSEGV) "
                                       "after test_getNode(list, 4)"});
}

TEST(ProbeCalls, AMissingFunctionFailsOnlyTheCasesThatCallIt) {
    const auto run = runMisbehaving("lacksContainsAll", {});
    EXPECT_EQ(run.exitCode, 1);
    std::vector<std::string> expected;
    for (const char* number : {"01", "02", "03", "04"}) {
        expected.push_back(std::string("FAIL supersetProbe supersetProbeCase") + number +
                           " `ll_containsAll` is not implemented");
    }
    EXPECT_EQ(failLines(run.output), expected);
    EXPECT_TRUE(run.output.ends_with("\n29 passed, 4 failed\n")) << run.output;

    // In the runner's own process there is no case to fail: it stops with the name.
    const auto here = runMisbehaving("lacksContainsAll", {"--no-fork", "--case", "Case02"});
    EXPECT_EQ(here.signal, SIGABRT);
    EXPECT_NE(here.output.find("probeRunner: `ll_containsAll` is not implemented\n"),
              std::string::npos)
        << here.output;
}

TEST(ProbeCalls, AListThatExitsFailsTheCasesItExitsIn) {
    const auto run = runMisbehaving("exits", {"--group", "extractProbe"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(failLines(run.output),
              (std::vector<std::string>{
                  "FAIL extractProbe extractProbeCase01 exited with status 3 before the case "
                  "finished in ll_pop(list, 0)",
                  "FAIL extractProbe extractProbeCase02 exited with status 3 before the case "
                  "finished in ll_pop(list, 0)",
                  "FAIL extractProbe extractProbeCase03 exited with status 3 before the case "
                  "finished in ll_pop(list, 1)",
                  "FAIL extractProbe extractProbeCase04 exited with status 3 before the case "
                  "finished in ll_pop(list, -1)"}));
    EXPECT_NE(run.output.find("\nPASS extractProbe extractProbeCase05\n"), std::string::npos);
}

TEST(ProbeHeap, AnExtendedCaseFailsWhenTheListKeepsBlocks) {
    const auto leaking =
        runMisbehaving("leaks", {"--extended", "--group", "disposeProbe", "--group", "heapProbe"});
    EXPECT_EQ(leaking.exitCode, 1);
    // The conformance cases keep their lists on purpose and are not counted, not even where the
    // list leaks the nodes of the one they dispose of.
    EXPECT_EQ(failLines(leaking.output),
              std::vector<std::string>{
                  "FAIL heapProbe heapProbeCase01 the list leaked 2 blocks (32 bytes)"});
    EXPECT_EQ(leaking.output.find("LeakSanitizer"), std::string::npos) << leaking.output;
    const auto sound = runMisbehaving("wellBehaved", {"--extended", "--group", "heapProbe"});
    EXPECT_EQ(sound.exitCode, 0) << sound.output;
    EXPECT_TRUE(sound.output.ends_with("\n2 passed, 0 failed\n")) << sound.output;
}

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
                  {"after ll_newLinkedList() returned 0x?, then ll_len(list) returned 6\n",
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
