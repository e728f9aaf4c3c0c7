// Isolated cases, as the runner sees them: it forks the case's supervisor (caseProcesses.cpp),
// keeps what the case writes while it waits for the supervisor to end, ends the case at its
// timeout or when a signal asks the run to stop, and tells from the monitor how the case ended.
#include "caseIsolation.h"

#include "ChildProcess.h"
#include "caseEnding.h"
#include "caseMonitor.h"
#include "caseProcesses.h"
#include "processTree.h"
#include "runnerOptions.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

// How much of each stream a case's report keeps.
constexpr size_t KEPT_OUTPUT = 4096;
constexpr size_t KEPT_SANITIZER_REPORT = 8192;

// How long the case's processes get to end once told to.
constexpr auto GRACE = std::chrono::seconds(2);

volatile sig_atomic_t stopSignal = 0;
// Wakes the runner's wait when a stop signal comes.
Pipe wake;

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
    const ssize_t ignored = write(wake.write, &byte, 1);
    (void)ignored;
}

void handleStop(int signal) {
    struct sigaction action = {};
    action.sa_sigaction = onStop;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
}

// A pipe whose ends are closed on exec, its read end non-blocking.
Pipe openPipe() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        fail("pipe");
    }
    fcntl(ends[0], F_SETFL, O_NONBLOCK);
    return {ends[0], ends[1]};
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

// How long a sanitizer's report that began before the case's deadline may take to be written.
constexpr std::chrono::seconds SANITIZER_REPORT_TIME{10};

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
        ready[count++] = {wake.read, POLLIN, 0};
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
        while (read(wake.read, drained, sizeof drained) > 0) {
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
    if (watchCase(lifeline, streams, Clock::now() + GRACE, false) != Waited::ended) {
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
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        perror("probeRunner: pipe");
        return false;
    }
    wake = {ends[0], ends[1]};
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
        superviseCase(probe, pipes, wake, runner, isolation.pidNamespaces);
    }
    closeEnd(pipes.lifeline.write);
    pipes.closeCaseEnds();
    Captured out;
    Captured err;
    Captured sanitizer;
    Stream streams[3] = {{&pipes.out.read, &out, KEPT_OUTPUT},
                         {&pipes.err.read, &err, KEPT_OUTPUT},
                         {&pipes.sanitizer.read, &sanitizer, KEPT_SANITIZER_REPORT}};
    Waited waited = watchCase(pipes.lifeline.read, streams, deadline, true);
    if (waited == Waited::deadline && caseMonitor().sanitizerReporting) {
        // The list's time ended in a sanitizer's report: the report is read whole, as the error
        // it tells of is the failure, not the time.
        waited =
            watchCase(pipes.lifeline.read, streams, Clock::now() + SANITIZER_REPORT_TIME, true);
    }
    if (waited != Waited::ended) {
        endCase(supervisor, pipes.lifeline.read, streams);
    }
    int status = 0;
    childProcess::waitFor(supervisor, status);
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
