#ifndef COMMON_DIAGNOSTIC_H
#define COMMON_DIAGNOSTIC_H

#include "LineReader.h"

#include <cstddef>
#include <string_view>

// One-line reports of what went wrong with a file, printed on standard output in the form editors
// and scripts read: "FILE:LINE: reason" where a line is to blame, "FILE: reason" otherwise. They
// allocate nothing, so that they can also say that memory ran out.

// The longest piece of an offending text a report quotes, in bytes.
constexpr size_t LONGEST_QUOTE = 60;

// Prints "file:line: reason".
void reportLine(const char* file, long line, std::string_view reason);

// Prints "file:line: reason: "text"". The text is cut to LONGEST_QUOTE bytes (never inside a UTF-8
// character), with "..." behind the closing quote when it was longer; control characters, '"' and
// '\' are written as C escapes (\r, \t, \0, \x1b ...), so that the report stays one line and shows
// what the file really holds.
void reportLine(const char* file, long line, std::string_view reason, std::string_view text);

// Prints "file:line: la primera línea no es el encabezado HEADER: "text"", text quoted as above:
// the first line of a file that must start with header.
void reportNotHeader(const char* file, long line, std::string_view header, std::string_view text);

// Prints "file: reason".
void reportFile(const char* file, std::string_view reason);

// Prints "file: what: <the system's description of error>".
void reportSystemError(const char* file, std::string_view what, int error);

// Prints why reader stopped before the end of file: a read error (at its line, or for the file
// when it gave no byte, as a folder does), a line too long (at its line), or a lack of memory.
// status is what reader.next() answered: neither Status::line nor Status::end.
void reportReadFailure(const char* file, const LineReader& reader, LineReader::Status status);

#endif
