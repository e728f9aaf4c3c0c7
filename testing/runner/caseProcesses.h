#ifndef CASE_PROCESSES_H
#define CASE_PROCESSES_H

// The processes of an isolated case, as the runner forks them: the supervisor, the reaper and the
// case's own process, and the pipes between them and the runner.

#include "probeRegistry.h"

#include <sys/types.h>
#include <unistd.h>

struct Pipe {
    int read = -1;
    int write = -1;
};

inline void closeEnd(int& fd) {
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
void runCaseHere(const ProbeCase& probe, bool isolated);

// The supervisor, in the process the runner forked: dies with the runner, puts the case in a PID
// namespace where it can, and holds the lifeline until the reaper has ended. The runner's own
// descriptors in runnerWake are closed here first.
[[noreturn]] void superviseCase(const ProbeCase& probe, CasePipes& pipes, Pipe& runnerWake,
                                pid_t runner, bool pidNamespaces);

#endif
