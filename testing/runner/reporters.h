#ifndef REPORTERS_H
#define REPORTERS_H

// The results on standard output: the plain lines or a TAP stream, and each failed case's report
// block, labelled with the case, under its line.

#include "caseOutcome.h"
#include "probeRegistry.h"

#include <string>
#include <vector>

// The lines of a failed case's report block: what its assertion wrote, then what the list
// printed on each stream and what a sanitizer reported, each line cut at its line end and with
// control characters shown as '?'.
std::vector<std::string> reportBlock(const ProbeCase& probe, const Outcome& outcome);

// Everything said of a failed case, the one text every output carries: why it failed, then,
// indented, what the case checks, the runner's notes on the failure and its report block, each
// line labelled with the case. The plain output prints it behind the FAIL line, the TAP stream as
// comments; the transcript and the JSON results hold it as the case's "output".
std::vector<std::string> failureLines(const ProbeCase& probe, const Outcome& outcome,
                                      double timeout);

// How the plain lines look; set once, before the first case.
struct PlainStyle {
    bool failuresOnly = false; // leave out the PASS lines
    bool colour = false;       // PASS and FAIL in colour, for a terminal
    bool verbose = false;      // sanitizer reports whole, not cut down to the list's frames
};

void setPlainStyle(const PlainStyle& style);

// Whether standard output wants colour: a terminal, and NO_COLOR unset or empty.
bool colourWanted();

// "TAP version 13" and the plan.
void printTapHeader(size_t cases);

// One case's line (PASS/FAIL or ok/not ok, number being its place in the run) and, when it
// failed, its failureLines; timeout as describeFailure takes it.
void printCaseResult(const ProbeCase& probe, const Outcome& outcome, double timeout, int number,
                     bool tap);

// The whole report buffer the cases wrote, as plain text or TAP comments.
void printWholeReport(bool tap);

// The closing line: "N passed, N failed" (as a TAP comment in a TAP stream).
void printSummary(int passed, int failed, bool tap);

#endif
