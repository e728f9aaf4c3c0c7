// The processes of an isolated case. The runner forks a supervisor, which enters a PID namespace
// (where permitted) and forks the case's reaper: the namespace's init, a subreaper besides. The
// reaper forks the case's process, waits for it, records how it ended and ends every process left
// behind, which in a namespace the kernel does as the init leaves. Each dies with its parent: the
// supervisor by SIGKILL when the runner goes (even killed), the reaper by SIGTERM, which it
// catches to end the case's processes first.
#include "caseProcesses.h"

#include "ChildProcess.h"
#include "caseMonitor.h"
#include "heapCounter.h"
#include "listCalls.h"
#include "processTree.h"
#include "utest.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

// The sanitizer runtimes, when linked in: where AddressSanitizer reports, and leak checking left
// off for the case's process, whose blocks the heap counter follows instead. (gcc's
// UndefinedBehaviorSanitizer, a library of its own, resets its report file as it starts: it
// reports on the case's standard error.)
// NOLINTBEGIN(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp): the runtimes' names
extern "C" void __sanitizer_set_report_fd(void* fd) __attribute__((weak));
extern "C" void __lsan_disable(void) __attribute__((weak));
// NOLINTEND(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)

namespace {

// The write end of the pipe the case's sanitizer reports go to.
int sanitizerPipe = -1;

void reportToSanitizerPipe() {
    // The runtime takes the descriptor in a pointer.
    const auto fd = static_cast<intptr_t>(sanitizerPipe);
    __sanitizer_set_report_fd(reinterpret_cast<void*>(fd)); // NOLINT(performance-no-int-to-ptr)
}

} // namespace

void runCaseHere(const ProbeCase& probe, bool isolated) {
    CaseMonitor& monitor = caseMonitor();
    const size_t reportStart = strlen(utest_printErrorBuffer);
    utest_flagTestError = 0;
    utest_startNotes();
    startListCalls(isolated);
    startHeapCount();
    probe.run();
    const HeapCount heap = stopHeapCount();
    stopListCalls();
    monitor.assertionFailed = utest_flagTestError != 0;
    monitor.line = utest_lineTestError;
    copyField(monitor.file, utest_fileTestError != nullptr ? utest_fileTestError : "");
    monitor.heapCounted = heap.complete;
    monitor.liveBlocks = heap.blocks;
    monitor.liveBytes = heap.bytes;
    monitor.foreignFrees = heap.foreignFrees;
    copyField(monitor.foreignAfter, heap.foreignAfter);
    HeldBlocks groups[LEFT_BEHIND_GROUPS];
    monitor.leftBehindGroups = heldBlocks(groups, LEFT_BEHIND_GROUPS);
    for (unsigned i = 0; i < std::min(monitor.leftBehindGroups, LEFT_BEHIND_GROUPS); i++) {
        copyField(monitor.leftBehind[i].call, groups[i].call);
        monitor.leftBehind[i].blocks = groups[i].blocks;
        monitor.leftBehind[i].bytes = groups[i].bytes;
    }
    const char* report = utest_printErrorBuffer + reportStart;
    monitor.checks = utest_checkCount;
    monitor.digest = utest_checkDigest;
    monitor.reportSize = strlen(report);
    memcpy(monitor.report, report, monitor.reportSize);
    monitor.finished = 1;
}

namespace {

constexpr int SUPERVISOR_FAILED = 126;

volatile sig_atomic_t reaperTold = 0;

void handle(int signal, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

void onReaperTold(int /*signal*/) {
    reaperTold = 1;
}

// The case's own process: /dev/null in, the pipes out, sanitizer reports to their own pipe.
[[noreturn]] void runCaseProcess(const ProbeCase& probe, CasePipes& pipes) {
    handle(SIGTERM, SIG_DFL);
    detachCase();
    const int nothing = open("/dev/null", O_RDONLY);
    if (nothing < 0 || dup2(nothing, STDIN_FILENO) < 0 ||
        dup2(pipes.out.write, STDOUT_FILENO) < 0 || dup2(pipes.err.write, STDERR_FILENO) < 0) {
        leaveProcess(SUPERVISOR_FAILED);
    }
    close(nothing);
    closeEnd(pipes.out.write);
    closeEnd(pipes.err.write);
    // Line by line, as at a terminal, so that a list that crashes has shown what it printed;
    // left fully buffered should that fail.
    (void)setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    if (__sanitizer_set_report_fd != nullptr) {
        sanitizerPipe = pipes.sanitizer.write;
        reportToSanitizerPipe();
        // The runtime drops a descriptor it was given in a process the case forks (the model
        // check's replays) and writes to a file named after the pid instead, or dies when it
        // cannot: the report would be lost. Each child is given the pipe again.
        pthread_atfork(nullptr, nullptr, reportToSanitizerPipe);
    }
    if (__lsan_disable != nullptr) {
        __lsan_disable();
    }
    runCaseHere(probe, true);
    leaveProcess(0);
}

// The reaper: forks the case's process, waits for it (or for SIGTERM), records how it ended and
// ends whatever the case left running.
[[noreturn]] void reapCase(const ProbeCase& probe, CasePipes& pipes) {
    handle(SIGTERM, onReaperTold);
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    closeEnd(pipes.lifeline.write);
    becomeSubreaper();
    const pid_t casePid = fork();
    if (casePid < 0) {
        leaveProcess(SUPERVISOR_FAILED);
    }
    if (casePid == 0) {
        runCaseProcess(probe, pipes);
    }
    pipes.closeCaseEnds();
    CaseMonitor& monitor = caseMonitor();
    int status = 0;
    if (childProcess::waitFor(casePid, status, &reaperTold) == casePid) {
        monitor.caseStatus = status;
        monitor.caseEnded = true;
    }
    // In a namespace of its own the kernel ends every process left as this init leaves.
    if (!monitor.pidNamespace) {
        kill(-casePid, SIGKILL);
        killChildren();
    }
    leaveProcess(0);
}

} // namespace

void superviseCase(const ProbeCase& probe, CasePipes& pipes, Pipe& runnerWake, pid_t runner,
                   bool pidNamespaces) {
    handle(SIGINT, SIG_DFL);
    handle(SIGTERM, SIG_DFL);
    handle(SIGHUP, SIG_DFL);
    handle(SIGPIPE, SIG_DFL);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != runner) {
        leaveProcess(0);
    }
    // Away from the terminal's process group: a Ctrl-C reaches the runner, which ends the case.
    setpgid(0, 0);
    closeEnd(runnerWake.read);
    closeEnd(runnerWake.write);
    pipes.closeReadEnds();
    CaseMonitor& monitor = caseMonitor();
    monitor.pidNamespace = pidNamespaces && enterPidNamespace();
    const pid_t reaper = fork();
    if (reaper < 0) {
        leaveProcess(SUPERVISOR_FAILED);
    }
    if (reaper == 0) {
        reapCase(probe, pipes);
    }
    monitor.reaper = reaper;
    pipes.closeCaseEnds();
    int status = 0;
    childProcess::waitFor(reaper, status);
    leaveProcess(0);
}
