#ifndef CASE_MONITOR_H
#define CASE_MONITOR_H

// What a case's processes leave behind for the runner: the last list calls, a function the list
// lacks, and the case's own result and report. A case that crashes, hangs or is killed cannot
// hand anything back, so all of it lives in memory shared with the case's processes, mapped
// before they are forked, and is written as it happens without any heap allocation.

#include "utest.h"

#include <cstddef>
#include <sys/types.h>

// How many of a case's last list calls the monitor keeps: enough to reach back over a table of
// rows to the call a wrong row came from.
constexpr unsigned TRAIL_LENGTH = 256;

// One outermost list call of the case.
struct CallRecord {
    char call[160];  // as "ll_pop(sub, 2)"
    char result[24]; // as "0", "NULL", "employee 3" or "0x5581a2c0", once the call returned
    bool returned;
    long long value; // the result as a number, an address for a pointer
    int list;        // the entry in names of the first list the call read, or -1
};

// A list or an element by the name the case knows it by. A list a call returned keeps that call,
// since the list's contents are that call's answer.
struct NamedObject {
    const void* address;
    char name[24];
    char madeBy[160]; // as "ll_subList(list, 1, 4)"; "" for an object the case made itself
};

constexpr unsigned NAMED_OBJECTS = 48;

// Blocks left at the end of a case that were allocated during calls of the same text ("" for
// blocks the case allocated outside any list call).
struct LeftBehind {
    char call[96];
    long blocks;
    long bytes;
};

constexpr unsigned LEFT_BEHIND_GROUPS = 4;

struct CaseMonitor {
    // Written by the list wrappers in the case's process (listCalls.cpp).
    CallRecord trail[TRAIL_LENGTH]; // the last outermost calls, call number n at n % TRAIL_LENGTH
    unsigned calls;                 // outermost list calls made so far
    int callDepth;                  // list calls under way: above 0 while the list runs
    char missing[64]; // the first list function called that the list does not implement
    NamedObject names[NAMED_OBJECTS]; // the case's lists and elements
    unsigned namedObjects;            // entries used in names
    int blamed; // the call number a case's table row named as wrong (utest_blameCall), or -1

    // Written by the sanitizer's hook in any process of the case, as its report begins.
    bool sanitizerReporting;

    // Written by the case's process once the case returned.
    int finished;
    int assertionFailed;
    int line; // and the failing assertion's place
    char file[128];
    bool heapCounted; // the block counts below hold every block of the case
    long liveBlocks;  // blocks the case and the list allocated and did not free
    long liveBytes;
    LeftBehind leftBehind[LEFT_BEHIND_GROUPS]; // where those blocks came from, earliest call first
    unsigned leftBehindGroups;                // groups in leftBehind
    long foreignFrees;         // frees the case made of addresses the allocator never handed out
    char foreignAfter[96];     // the list call made last before the first of them
    size_t reportSize;         // what the case appended to the report
    unsigned long long checks; // the values the case's assertions checked: how many, and their
    unsigned long long digest; // running hash (utest_note)
    char report[sizeof utest_printErrorBuffer];

    // Written by the processes that supervise the case (caseIsolation.cpp).
    pid_t reaper;   // the process that reaps the case's processes, as the runner numbers it
    bool caseEnded; // the case's process ended, with caseStatus as waitpid() gave it
    int caseStatus;
    bool pidNamespace; // the case ran in a PID namespace of its own
};

// The monitor the wrappers and the case write: private memory until shareCaseMonitor().
CaseMonitor& caseMonitor();

// Moves the monitor to memory shared with every process forked afterwards; false (the monitor
// stays private) when the mapping fails.
bool shareCaseMonitor();

// Clears what the last case left, before the next one starts.
void resetCaseMonitor();

// Copies text into a fixed field, cut to fit and terminated.
template <size_t N> void copyField(char (&field)[N], const char* text) {
    size_t i = 0;
    for (; i + 1 < N && text[i] != '\0'; i++) {
        field[i] = text[i];
    }
    field[i] = '\0';
}

#endif
