#ifndef COMMON_USAGE_H
#define COMMON_USAGE_H

#include "status.h"

#include <cstdio>
#include <cstring>

// Whether a program's argument asks for its usage: "--help" or "-h".
inline bool asksForHelp(const char* arg) {
    return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0;
}

// Prints a program's usage instead of running it, touching no file. The exit status: EXIT_OK when
// the usage was asked for (and could be printed), EXIT_USAGE when the command line was wrong.
inline int showUsage(const char* usage, bool asked) {
    std::fputs(usage, stdout);
    if (!asked) {
        return EXIT_USAGE;
    }
    return flushOutput() ? EXIT_OK : EXIT_FAILED;
}

#endif
