// probeRunner against lists that misbehave (tests/lists/misbehavingList.c): nothing the list
// starts outlives its case or the runner, however the runner ends; a hang, a crash, a missing
// function or an exit fails the cases it happens in, naming the call; a list that keeps blocks
// fails the extended case that finds them.
#include "misbehavingRuns.h"
#include "files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

using namespace misbehaving;

namespace {

using namespace std::chrono_literals;

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

} // namespace
