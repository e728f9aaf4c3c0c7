#ifndef REPRO_FILE_H
#define REPRO_FILE_H

// --repro: the program a failed model check reports, written to a file that compiles with the
// list as it stands.

#include "junitReport.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The C program in a case's report: from its first #include line to the closing brace of main,
// with plain line ends; nothing when the report holds none.
std::optional<std::string> reproProgram(std::string_view report);

// Writes the program of the first failed case that reports one to path, replacing the file in
// one step. Says on standard error when no case reported a program, and leaves path alone then;
// false, with a message, when the file cannot be written.
bool writeRepro(const std::string& path, const std::vector<Result>& results);

#endif
