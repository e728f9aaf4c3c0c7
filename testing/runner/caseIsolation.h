#ifndef CASE_ISOLATION_H
#define CASE_ISOLATION_H

// Running a case: here, for a debugger, or in processes of its own that nothing of the list
// outlives. The list's calls are recorded and its heap blocks counted either way.

#include "caseOutcome.h"
#include "probeRegistry.h"

struct Isolation {
    double timeout;     // seconds a case may run
    bool pidNamespaces; // try a PID namespace per case before the subreaper alone
};

// Readies the runner for isolated cases: the monitor in shared memory, the runner a subreaper of
// its orphaned descendants, SIGINT, SIGTERM and SIGHUP caught so that the case under way is ended
// first. False, with a message, when that fails.
bool prepareIsolation();

// Runs a case in this process.
Outcome runCaseInProcess(const ProbeCase& probe);

// Runs a case in processes of its own. The case's process has /dev/null as standard input and
// pipes as standard output and error; a supervisor reaps it and ends every process it leaves,
// inside a PID namespace of the case's own where the system permits one. The case ends when its
// process ends or the timeout passes; nothing of it is left running when this returns.
Outcome runCaseIsolated(const ProbeCase& probe, const Isolation& isolation);

// The signal that asked the runner to stop (SIGINT, SIGTERM, SIGHUP), or 0.
int interruption();

#endif
