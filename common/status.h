#ifndef COMMON_STATUS_H
#define COMMON_STATUS_H

#include <cstdio>

// The results of the register's, the reports' and the readers' operations.
constexpr int CORRECTO = 0;
constexpr int ERROR = -1;

// How the programs end: every failure ends with a status other than EXIT_OK.
constexpr int EXIT_OK = 0;
constexpr int EXIT_FAILED = 1; // the work could not be done: bad input, a failed read or write
constexpr int EXIT_USAGE = 2;  // the command line was wrong

// Flushes standard output; false when some of what the program printed could not be written (a
// full disk, a closed pipe), so that the program does not end as if it had been.
inline bool flushOutput() {
    return std::fflush(stdout) == 0 && std::ferror(stdout) == 0;
}

#endif
