#ifndef CASE_OUTCOME_H
#define CASE_OUTCOME_H

// How a case ended, and the few words that say why it failed.

#include <string>
#include <vector>

// How a case ended.
enum class Ending {
    passed,
    assertion,
    signal,
    timeout,
    exited,
    sanitizer,
    missing,
    leak,
    foreignBlock,    // the case freed a node that was not a block of its own from malloc
    signalledRunner, // the list sent the runner a signal that would have stopped the run
};

// The first bytes a stream carried, and how many more were dropped.
struct Captured {
    std::string kept;
    size_t dropped = 0;
};

// One of the case's last list calls.
struct TrailCall {
    std::string call;    // as "ll_pop(sub, 2)"
    std::string result;  // as "0", "NULL", "employee 3" or "0x5581a2c0"; "" when it did not return
    long long value = 0; // the result as a number, an address for a pointer
    std::string list = "";       // the first list it read, by name ("" when unnamed)
    std::string listMadeBy = ""; // the call that returned that list ("" when the case made it)
};

// A list or an element the case named, and its address.
struct NamedAddress {
    unsigned long long address = 0;
    std::string name;
};

// Blocks left behind, by the call that allocated them ("" outside any list call).
struct BlocksFrom {
    std::string call;
    long blocks = 0;
    long bytes = 0;
};

struct Outcome {
    Ending ending = Ending::passed;
    std::string file;             // the failing assertion's source, for Ending::assertion
    int line = 0;                 // and its line
    std::string report;           // what the case appended to the report
    int detail = 0;               // the signal, the exit status, or the leaked blocks
    long leakedBytes = 0;         // for Ending::leak
    std::string lastCall;         // the last list call, as "ll_pop(list, 2)"; "" when none was made
    bool inCall = false;          // the case ended inside that call
    std::vector<TrailCall> trail; // the last list calls, oldest first, lastCall the last
    int blamed = -1;              // the call in trail that a case's table row found wrong, or -1
    std::vector<NamedAddress> names;    // what the case named, latest last
    std::vector<BlocksFrom> leftBehind; // for Ending::leak: where the blocks came from
    unsigned leftBehindGroups = 0;      // how many groups there are, shown or not
    long foreignFrees = 0;              // frees of nodes that were not blocks of their own
    std::string foreignAfter;           // the list call made last before the first of them
    int runnerSignal = 0;               // the signal the list sent the runner, when it did
    std::string missing;                // the function the list lacks, for Ending::missing
    std::string sanitizerLine;          // the sanitizer's first report line, for Ending::sanitizer
    Captured out;                       // what the list printed on its standard output
    Captured err;                       // on its standard error
    Captured sanitizer;                 // what a sanitizer reported
    double seconds = 0;
    double limit = 0; // the seconds the case was allowed, where --case-timeout set them
    unsigned long long checks = 0; // the values its assertions checked (utest_note), for a case
    unsigned long long digest = 0; // that returned
};

// Why a failed case failed, in one line: the assertion's place, the signal, the timeout, the
// exit, the sanitizer's report, the missing function or the leak, with the list call it
// happened in or after where that helps; timeout is the run's limit, unless the case had its own.
// Empty for a passed case.
std::string describeFailure(const Outcome& outcome, double timeout);

// The JUnit failure type of an ending: "assertion", "crash", "timeout" ...
const char* failureType(Ending ending);

#endif
