#ifndef TESTS_FAULTY_RUNS_H
#define TESTS_FAULTY_RUNS_H

// Running probeRunner built against the lists of tests/lists (the bundled list, a sound list or
// a faulty one) and reading what it reports: the JUnit file, which holds each failing case's
// report block as it is, and the plain output.

#include "console.h"

#include <filesystem>
#include <string>
#include <vector>

namespace faulty {

// The number of cases of each kind, from the runner's own list.
inline constexpr int CONFORMANCE = 0
#define CONFORMANCE_CASE(group, number, description) +1
#define EXTENDED_CASE(group, number, description)
#include "probeCases.h"
#undef CONFORMANCE_CASE
#undef EXTENDED_CASE
    ;
inline constexpr int EVERY_CASE = 0
#define CONFORMANCE_CASE(group, number, description) +1
#define EXTENDED_CASE(group, number, description) +1
#include "probeCases.h"
#undef CONFORMANCE_CASE
#undef EXTENDED_CASE
    ;

// A crash must reach the runner as its signal, also in the sanitised build; and a run in one
// process keeps the conformance cases' lists, which they never free.
void setSanitizerOptions(bool oneProcess);

// The runner built against the given list: "bundled", a sound list ("sound", "cachedSound",
// "recursiveSound", "freeListSound") or a fault.
std::string runnerPath(const std::string& list);

// Runs the runner built against the given list.
console::Run runFaulty(const std::string& list, std::vector<std::string> arguments);

// A case as the JUnit file reports it.
struct CaseResult {
    std::string group;
    std::string name;
    bool failed = false;
    std::string why;    // the failure message
    std::string type;   // assertion, crash, timeout or exit
    std::string report; // the case's report block
};

// Every case of a JUnit file, in order.
std::vector<CaseResult> readJunit(const std::filesystem::path& path);

std::vector<CaseResult> failuresOf(const std::vector<CaseResult>& results);

// A run and the cases its JUnit file reports.
struct Checked {
    console::Run run;
    std::vector<CaseResult> cases;
};

// Runs the runner built against list with the arguments, reading its JUnit file.
Checked runChecked(const std::string& list, std::vector<std::string> arguments);

// The last line of a run's output: "N passed, N failed".
std::string summaryLine(const std::string& output);

// The lines of a plain or TAP stream that name a case or the plan, in order: the rest of the
// output is free to change.
std::string caseLines(const std::string& output);

// The text with every pointer value shown as 0x?.
std::string hidePointers(const std::string& text);

// The last list call that the runner's notes on a failed case show, as they show it, such as
// "ll_len(list) returned 1 (twice)", pointers hidden; empty when the output has no such note.
std::string lastCallBefore(const std::string& output, const std::string& probeCase);

} // namespace faulty

#endif
