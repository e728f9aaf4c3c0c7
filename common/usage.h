#ifndef COMMON_USAGE_H
#define COMMON_USAGE_H

// The command line every program reads alike. "--help" or "-h" prints the usage on standard
// output; "--version" prints one line "NAME VERSION"; both end the program with status 0 and
// touch no file. Any other argument that starts with '-' is an unknown option, unless it is a
// lone "-" or comes after "--": a usage error, reported as one line "NAME: reason" followed by
// the usage, both on standard error, with status 2.

#include "status.h"

#include <optional>
#include <string_view>
#include <vector>

// A program's usage: "Uso: NAME" followed by synopsis on the first line, then text.
struct Usage {
    const char* synopsis; // what follows the name on the first line, " [ARCHIVO]" or ""
    const char* text;     // the lines after the first, each ending with a line end
};

// The name a program was started under, which its messages carry: the last part of argv[0], or
// fallback when there is none.
const char* programName(int argc, char** argv, const char* fallback);

// Reads a command line that takes the options above and at most maxOperands operands, none of
// them empty. Fills operands and answers nothing when the program is to run; otherwise answers
// the status it ends with, having printed what was asked for or why the command line is wrong.
std::optional<int> readCommandLine(int argc, char** argv, const char* fallbackName,
                                   const Usage& usage, size_t maxOperands,
                                   std::vector<const char*>& operands);

// Whether an argument asks for the usage: "--help" or "-h".
bool asksForHelp(std::string_view arg);

// Prints "name VERSION" on standard output: EXIT_OK, or EXIT_FAILED when it could not be written.
int printVersion(const char* name);

// Prints "name: reason" and then the usage on standard error; EXIT_USAGE.
int reportUsageError(const char* name, std::string_view reason, std::string_view usage);

#endif
