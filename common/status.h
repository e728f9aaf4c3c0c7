#ifndef COMMON_STATUS_H
#define COMMON_STATUS_H

#include <cstdio>

// The results of the register's, the reports' and the readers' operations.
constexpr int CORRECTO = 0;
constexpr int ERROR = -1;

// How every program ends: one vocabulary, read by each family of programs as follows.
//   The programs that keep or read the staff's and the sales' files (registro, ventas, the
//   salary export, ioPrimer): EXIT_OK when the work was done, EXIT_FAILED when it could not be (bad
//   input, a failed read or write), EXIT_USAGE when the command line was wrong.
//   The checkers (probeRunner, check-list, check-list --class): EXIT_OK when no case failed,
//   EXIT_FAILED when one did, EXIT_USAGE when the command line was wrong and EXIT_TROUBLE when
//   the checker itself could not do its work (its output, a pipe, a fork, a report's file).
//   EXIT_TROUBLE is the usage status, so that a checker's 1 always means the list failed.
//   check-list also ends with EXIT_BUILD when the list does not compile or link, and with
//   EXIT_LAYOUT when its LinkedList.h lays the records out otherwise than the suite's: the class
//   grader tells a submission's fault from its own by these statuses alone.
constexpr int EXIT_OK = 0;
constexpr int EXIT_FAILED = 1;
constexpr int EXIT_USAGE = 2;
constexpr int EXIT_TROUBLE = EXIT_USAGE;
constexpr int EXIT_BUILD = 3;
constexpr int EXIT_LAYOUT = 4;

// Flushes standard output; false when some of what the program printed could not be written (a
// full disk, a closed pipe), so that the program does not end as if it had been.
inline bool flushOutput() {
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
}

#endif
