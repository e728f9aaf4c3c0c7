// Isolated cases. The runner forks a supervisor, which enters a PID namespace (where permitted)
// and forks the case's reaper: the namespace's init, a subreaper besides. The reaper forks the
// case's process, waits for it, records how it ended and ends every process left behind, which
// in a namespace the kernel does as the init leaves. Each dies with its parent: the supervisor
// by SIGKILL when the runner goes (even killed), the reaper by SIGTERM, which it catches to end
// the case's processes first.
#include "caseIsolation.h"

#include "caseEnding.h"
#include "caseMonitor.h"
#include "heapCounter.h"
#include "listCalls.h"
#include "processTree.h"
#include "runnerOptions.h"
#include "utest.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

// The sanitizer runtimes, when linked in: where AddressSanitizer reports, and leak checking left
// off for the case's process, whose blocks the heap counter follows instead. (gcc's
// UndefinedBehaviorSanitizer, a library of its own, resets its report file as it starts: it
// reports on the case's standard error.)
// NOLINTBEGIN(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp): the runtimes' names
extern "C" void __sanitizer_set_report_fd(void* fd) __attribute__((weak));
extern "C" void __lsan_disable(void) __attribute__((weak));
// NOLINTEND(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)

namespace {

using Clock = std::chrono::steady_clock;

// How much of each stream a case's report keeps.
constexpr size_t kKeptOutput = 4096;
constexpr size_t kKeptSanitizerReport = 8192;

// How long the case's processes get to end once told to.
constexpr auto kGrace = std::chrono::seconds(2);

constexpr int kSupervisorFailed = 126;

volatile sig_atomic_t stopSignal = 0;
volatile sig_atomic_t reaperTold = 0;
int wakeRead = -1;
int wakeWrite = -1;

// Ends the runner when the system refuses what isolating a case needs.
[[noreturn]] void fail(const char* what) {
    fprintf(stderr, "probeRunner: %s: %s\n", what, strerror(errno));
    exit(EXIT_TROUBLE);
}

// A stop signal that a process of the case sent: the case fails for it, the run goes on.
volatile sig_atomic_t refusedSignal = 0;

// Records the signal that stops the run and wakes the runner's wait. A case's process can find
// the runner when there is no PID namespace (its parent's parent, or the runner itself once that
// parent is killed and it is inherited): a stop signal from one of them fails its case instead.
void onStop(int signal, siginfo_t* info, void* /*context*/) {
    if ((info->si_code == SI_USER || info->si_code == SI_QUEUE) && isDescendant(info->si_pid)) {
        refusedSignal = signal;
        return;
    }
    stopSignal = signal;
    const char byte = 0;
    const ssize_t ignored = write(wakeWrite, &byte, 1);
    (void)ignored;
}

void handleStop(int signal) {
    struct sigaction action = {};
    action.sa_sigaction = onStop;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

void onReaperTold(int /*signal*/) {
    reaperTold = 1;
}

void handle(int signal, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

struct Pipe {
    int read = -1;
    int write = -1;
};

// A pipe whose ends are closed on exec, its read end non-blocking.
Pipe openPipe() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        fail("pipe");
    }
    fcntl(ends[0], F_SETFL, O_NONBLOCK);
    return {ends[0], ends[1]};
}

void closeEnd(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

// The pipes between the runner and a case: the case's standard output and error, the
// sanitizer's reports, and the supervisor's lifeline, which closes when it ends.
struct CasePipes {
    Pipe out;
    Pipe err;
    Pipe sanitizer;
    Pipe lifeline;

    void closeReadEnds() {
        closeEnd(out.read);
        closeEnd(err.read);
        closeEnd(sanitizer.read);
        closeEnd(lifeline.read);
    }
    void closeCaseEnds() {
        closeEnd(out.write);
        closeEnd(err.write);
        closeEnd(sanitizer.write);
    }
};

// Runs the case here, recording its list calls and counting its blocks, and leaves its result
// in the monitor.
void runCaseHere(const ProbeCase& probe, bool isolated) {
    CaseMonitor& monitor = caseMonitor();
    const size_t reportStart = strlen(utest_printErrorBuffer);
    utest_flagTestError = 0;
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
    HeldBlocks groups[kLeftBehindGroups];
    monitor.leftBehindGroups = heldBlocks(groups, kLeftBehindGroups);
    for (unsigned i = 0; i < std::min(monitor.leftBehindGroups, kLeftBehindGroups); i++) {
        copyField(monitor.leftBehind[i].call, groups[i].call);
        monitor.leftBehind[i].blocks = groups[i].blocks;
        monitor.leftBehind[i].bytes = groups[i].bytes;
    }
    const char* report = utest_printErrorBuffer + reportStart;
    monitor.reportSize = strlen(report);
    memcpy(monitor.report, report, monitor.reportSize);
    monitor.finished = 1;
}

// The case's own process: /dev/null in, the pipes out, sanitizer reports to their own pipe.
[[noreturn]] void runCaseProcess(const ProbeCase& probe, CasePipes& pipes) {
    handle(SIGTERM, SIG_DFL);
    detachCase();
    const int nothing = open("/dev/null", O_RDONLY);
    if (nothing < 0 || dup2(nothing, STDIN_FILENO) < 0 ||
        dup2(pipes.out.write, STDOUT_FILENO) < 0 || dup2(pipes.err.write, STDERR_FILENO) < 0) {
        leaveProcess(kSupervisorFailed);
    }
    close(nothing);
    closeEnd(pipes.out.write);
    closeEnd(pipes.err.write);
    // Line by line, as at a terminal, so that a list that crashes has shown what it printed;
    // left fully buffered should that fail.
    (void)setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
    if (__sanitizer_set_report_fd != nullptr) {
        // The runtime takes the descriptor in a pointer.
        const auto fd = static_cast<intptr_t>(pipes.sanitizer.write);
        __sanitizer_set_report_fd(reinterpret_cast<void*>(fd)); // NOLINT(performance-no-int-to-ptr)
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
        leaveProcess(kSupervisorFailed);
    }
    if (casePid == 0) {
        runCaseProcess(probe, pipes);
    }
    pipes.closeCaseEnds();
    CaseMonitor& monitor = caseMonitor();
    int status = 0;
    while (reaperTold == 0) {
        const pid_t done = waitpid(casePid, &status, 0);
        if (done == casePid) {
            monitor.caseStatus = status;
            monitor.caseEnded = true;
            break;
        }
        if (done < 0 && errno != EINTR) {
            break;
        }
    }
    // In a namespace of its own the kernel ends every process left as this init leaves.
    if (!monitor.pidNamespace) {
        kill(-casePid, SIGKILL);
        killChildren();
    }
    leaveProcess(0);
}

// The supervisor: dies with the runner, puts the case in a PID namespace where it can, and
// holds the lifeline until the reaper has ended.
[[noreturn]] void superviseCase(const ProbeCase& probe, CasePipes& pipes, pid_t runner,
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
    closeEnd(wakeRead);
    closeEnd(wakeWrite);
    pipes.closeReadEnds();
    CaseMonitor& monitor = caseMonitor();
    monitor.pidNamespace = pidNamespaces && enterPidNamespace();
    const pid_t reaper = fork();
    if (reaper < 0) {
        leaveProcess(kSupervisorFailed);
    }
    if (reaper == 0) {
        reapCase(probe, pipes);
    }
    monitor.reaper = reaper;
    pipes.closeCaseEnds();
    int status = 0;
    while (waitpid(reaper, &status, 0) < 0 && errno == EINTR) {
    }
    leaveProcess(0);
}

// Keeps the first bytes that arrive on fd; false once the stream has ended or failed, true
// while more may come.
bool readInto(int fd, Captured& into, size_t keep) {
    char chunk[16384];
    for (;;) {
        const ssize_t count = read(fd, chunk, sizeof chunk);
        if (count > 0) {
            const size_t room = keep - std::min(keep, into.kept.size());
            const size_t taken = std::min(room, static_cast<size_t>(count));
            into.kept.append(chunk, taken);
            into.dropped += static_cast<size_t>(count) - taken;
            continue;
        }
        if (count < 0 && errno == EINTR) {
            continue;
        }
        return count < 0 && errno == EAGAIN;
    }
}

struct Stream {
    int* fd;
    Captured* into;
    size_t keep;
};

enum class Waited { ended, deadline, stopped };

// Reads the case's streams until the lifeline closes (the supervisor ended), the deadline
// passes, or (when stoppable) a signal asks the runner to stop.
Waited watchCase(int lifeline, Stream (&streams)[3], Clock::time_point deadline, bool stoppable) {
    for (;;) {
        if (stoppable && stopSignal != 0) {
            return Waited::stopped;
        }
        pollfd ready[5];
        nfds_t count = 0;
        ready[count++] = {lifeline, POLLIN, 0};
        ready[count++] = {wakeRead, POLLIN, 0};
        for (const Stream& stream : streams) {
            if (*stream.fd >= 0) {
                ready[count++] = {*stream.fd, POLLIN, 0};
            }
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            return Waited::deadline;
        }
        // poll() counts in an int of milliseconds; the +1 rounds the last fraction up.
        const int wait = static_cast<int>(std::min<long long>(left, INT_MAX - 1)) + 1;
        if (poll(ready, count, wait) < 0 && errno != EINTR) {
            fail("poll");
        }
        char drained[64];
        while (read(wakeRead, drained, sizeof drained) > 0) {
        }
        for (const Stream& stream : streams) {
            if (*stream.fd >= 0 && !readInto(*stream.fd, *stream.into, stream.keep)) {
                closeEnd(*stream.fd);
            }
        }
        if ((ready[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            return Waited::ended;
        }
    }
}

// Tells the case's processes to end, and waits for the supervisor to go; past the grace period
// the supervisor and the reaper are killed outright.
void endCase(pid_t supervisor, int lifeline, Stream (&streams)[3]) {
    const pid_t reaper = caseMonitor().reaper;
    if (reaper > 0) {
        kill(reaper, SIGTERM);
    } else {
        kill(supervisor, SIGKILL);
    }
    if (watchCase(lifeline, streams, Clock::now() + kGrace, false) != Waited::ended) {
        kill(supervisor, SIGKILL);
        if (reaper > 0) {
            kill(reaper, SIGKILL);
        }
    }
}

} // namespace

bool prepareIsolation() {
    if (!shareCaseMonitor()) {
        perror("probeRunner: mmap");
        return false;
    }
    int wake[2];
    if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        perror("probeRunner: pipe");
        return false;
    }
    wakeRead = wake[0];
    wakeWrite = wake[1];
    becomeSubreaper();
    hideFromOtherProcesses();
    handleStop(SIGINT);
    handleStop(SIGTERM);
    handleStop(SIGHUP);
    return true;
}

int interruption() {
    return stopSignal;
}

Outcome runCaseInProcess(const ProbeCase& probe) {
    resetCaseMonitor();
    runCaseHere(probe, false);
    Outcome outcome = finishedOutcome(probe);
    readTrail(outcome);
    return outcome;
}

Outcome runCaseIsolated(const ProbeCase& probe, const Isolation& isolation) {
    resetCaseMonitor();
    refusedSignal = 0;
    CasePipes pipes{openPipe(), openPipe(), openPipe(), openPipe()};
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(isolation.timeout));
    fflush(stdout);
    fflush(stderr);
    const pid_t runner = getpid();
    const pid_t supervisor = fork();
    if (supervisor < 0) {
        fail("fork");
    }
    if (supervisor == 0) {
        superviseCase(probe, pipes, runner, isolation.pidNamespaces);
    }
    closeEnd(pipes.lifeline.write);
    pipes.closeCaseEnds();
    Captured out;
    Captured err;
    Captured sanitizer;
    Stream streams[3] = {{&pipes.out.read, &out, kKeptOutput},
                         {&pipes.err.read, &err, kKeptOutput},
                         {&pipes.sanitizer.read, &sanitizer, kKeptSanitizerReport}};
    const Waited waited = watchCase(pipes.lifeline.read, streams, deadline, true);
    if (waited != Waited::ended) {
        endCase(supervisor, pipes.lifeline.read, streams);
    }
    int status = 0;
    while (waitpid(supervisor, &status, 0) < 0 && errno == EINTR) {
    }
    if (!caseMonitor().pidNamespace) {
        killChildren();
    }
    for (const Stream& stream : streams) {
        if (*stream.fd >= 0) {
            readInto(*stream.fd, *stream.into, stream.keep);
        }
    }
    pipes.closeReadEnds();
    Outcome outcome = isolatedOutcome(probe, waited == Waited::deadline);
    if (refusedSignal != 0) {
        outcome.ending = Ending::signalledRunner;
        outcome.runnerSignal = refusedSignal;
        refusedSignal = 0;
    }
    addStreams(outcome, std::move(out), std::move(err), std::move(sanitizer));
    return outcome;
}
