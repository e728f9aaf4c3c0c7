#ifndef CHECKER_POOL_H
#define CHECKER_POOL_H

// Runs the checks of a class a few at a time, so that nothing of one submission outlives its
// check or reaches another's: each check runs under a keeper of its own, the leader of a process
// group and the reaper of what the check orphans, which ends all of it when the check ends; the
// group is killed when the check runs out of time, and this process, the reaper of whatever
// escapes both, kills what is left when the pool goes.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

struct Check {
    size_t id;                     // the caller's number for it
    std::vector<std::string> argv; // argv[0] the program's path
    std::filesystem::path folder;  // the working folder
    std::filesystem::path log;     // standard output and error go there
};

struct Ended {
    size_t id;
    int status = 0; // as waitpid gives it
    bool timedOut = false;
    double seconds = 0;
};

class CheckerPool {
  public:
    // Blocks SIGCHLD, SIGINT, SIGTERM and SIGHUP, which the pool waits for, and makes this
    // process the reaper of whatever its checks leave behind. timeLimit: seconds a check may run.
    explicit CheckerPool(double timeLimit);
    ~CheckerPool(); // kills every check still running and whatever they left behind
    CheckerPool(const CheckerPool&) = delete;
    CheckerPool& operator=(const CheckerPool&) = delete;

    // Starts a check; false, with errno set, when it cannot be forked.
    bool start(const Check& check);

    size_t running() const {
        return running_.size();
    }

    // Waits for a running check to end, killing those that run out of time; nothing when a
    // signal asked the run to stop (interruption() says which).
    std::optional<Ended> next();

    int interruption() const {
        return interruption_;
    }

  private:
    struct Running {
        size_t id;
        pid_t pid; // also its process group
        std::chrono::steady_clock::time_point started;
        bool timedOut = false;
    };

    std::optional<Ended> reapOne();
    void killOverdue();

    std::chrono::duration<double> timeLimit_;
    std::vector<Running> running_;
    int interruption_ = 0;
};

#endif
