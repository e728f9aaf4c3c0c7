// The pool of running checks.
#include "checkerPool.h"

#include "ChildProcess.h"
#include "processTree.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int CANNOT_RUN = 127;

sigset_t awaited() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : {SIGCHLD, SIGINT, SIGTERM, SIGHUP}) {
        sigaddset(&set, signal);
    }
    return set;
}

// In the check's process: its output to the log, the signals as a fresh program has them, and
// the check run. Never returns.
[[noreturn]] void execCheck(const Check& check) {
    prctl(PR_SET_PDEATHSIG, SIGKILL); // should its keeper be killed
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    (void)signal(SIGPIPE, SIG_DFL);
    const int input = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int log = open(check.log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (input < 0 || log < 0 || dup2(input, 0) < 0 || dup2(log, 1) < 0 || dup2(log, 2) < 0 ||
        chdir(check.folder.c_str()) != 0) {
        _exit(CANNOT_RUN);
    }
    std::vector<char*> argv;
    for (const std::string& argument : check.argv) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    fprintf(stderr, "check-list: cannot run %s: %s\n", argv[0], strerror(errno));
    _exit(CANNOT_RUN);
}

// In the forked child: the check's keeper, the leader of a session of its own (no terminal
// reaches a submission, and its process group is the session's) and the reaper of whatever the
// check orphans. It tells its start by closing ready, runs the check, ends everything the check
// left behind, and ends as the check did. Never returns.
[[noreturn]] void keepCheck(const Check& check, int ready) {
    setsid();
    close(ready);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    becomeSubreaper();
    const pid_t pid = fork();
    if (pid < 0) {
        _exit(CANNOT_RUN);
    }
    if (pid == 0) {
        execCheck(check);
    }
    int status = 0;
    childProcess::reapUntil(pid, status);
    killChildren();
    if (const int killer = childProcess::endingSignal(status); killer != 0) {
        endAsSignal(killer);
    }
    const int exited = childProcess::exitStatus(status);
    leaveProcess(exited >= 0 ? exited : CANNOT_RUN);
}

} // namespace

CheckerPool::CheckerPool(double timeLimit) : timeLimit_(timeLimit) {
    const sigset_t set = awaited();
    sigprocmask(SIG_BLOCK, &set, nullptr);
    becomeSubreaper();
}

CheckerPool::~CheckerPool() {
    for (const Running& check : running_) {
        killpg(check.pid, SIGKILL);
    }
    killChildren();
}

bool CheckerPool::start(const Check& check) {
    fflush(nullptr);
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0) {
        return false;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        keepCheck(check, ready[1]);
    }
    close(ready[1]);
    // Until the keeper has its session, its pid names no group that a kill could reach.
    char none = 0;
    while (pid > 0 && read(ready[0], &none, 1) < 0 && errno == EINTR) {
    }
    close(ready[0]);
    if (pid < 0) {
        return false;
    }
    running_.push_back({check.id, pid, Clock::now()});
    return true;
}

// Reaps one ended check, if one has ended: its group is killed first, while its pid still names
// the group. Processes the checks left behind, which this process inherits, are reaped too.
std::optional<Ended> CheckerPool::reapOne() {
    for (;;) {
        siginfo_t info = {};
        if (waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid == 0) {
            return std::nullopt;
        }
        const pid_t pid = info.si_pid;
        const auto check = std::find_if(running_.begin(), running_.end(),
                                        [pid](const Running& r) { return r.pid == pid; });
        if (check != running_.end()) {
            killpg(pid, SIGKILL);
        }
        int status = 0;
        childProcess::waitFor(pid, status);
        if (check != running_.end()) {
            const Ended ended{check->id, status, check->timedOut,
                              std::chrono::duration<double>(Clock::now() - check->started).count()};
            running_.erase(check);
            return ended;
        }
    }
}

void CheckerPool::killOverdue() {
    for (Running& check : running_) {
        if (!check.timedOut && Clock::now() - check.started >= timeLimit_) {
            check.timedOut = true;
            killpg(check.pid, SIGKILL);
        }
    }
}

std::optional<Ended> CheckerPool::next() {
    const sigset_t set = awaited();
    for (;;) {
        if (auto ended = reapOne()) {
            return ended;
        }
        killOverdue();
        auto wait = std::chrono::duration<double>(1.0);
        for (const Running& check : running_) {
            if (!check.timedOut) {
                wait = std::min(
                    wait, std::chrono::duration<double>(check.started + timeLimit_ - Clock::now()));
            }
        }
        const auto nanoseconds = std::max<long long>(
            std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count(), 1000000);
        const timespec timeout{static_cast<time_t>(nanoseconds / 1000000000),
                               static_cast<long>(nanoseconds % 1000000000)};
        const int signal = sigtimedwait(&set, nullptr, &timeout);
        if (signal == SIGINT || signal == SIGTERM || signal == SIGHUP) {
            interruption_ = signal;
            return std::nullopt;
        }
    }
}
