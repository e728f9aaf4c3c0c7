#ifndef CASE_ENDING_H
#define CASE_ENDING_H

// How a case ended, read from what its processes left in the case monitor (caseMonitor.h) and on
// their streams.

#include "caseOutcome.h"
#include "probeRegistry.h"

// The outcome of a case that returned, from the monitor: an assertion that failed; else a node
// the case could not free; else, for an extended case, the blocks it left.
Outcome finishedOutcome(const ProbeCase& probe);

// Adds the case's last list calls, oldest first, from the monitor.
void readTrail(Outcome& outcome);

// How an isolated case ended, from the monitor its processes left; timedOut when the runner
// ended it at the timeout.
Outcome isolatedOutcome(const ProbeCase& probe, bool timedOut);

// Makes a failed case one that met a sanitizer, when the sanitizer's report (or,
// for UndefinedBehaviorSanitizer, the case's standard error) holds a report line; keeps the
// streams in the outcome.
void addStreams(Outcome& outcome, Captured out, Captured err, Captured sanitizer);

#endif
