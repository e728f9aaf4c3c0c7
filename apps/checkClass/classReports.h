#ifndef CLASS_REPORTS_H
#define CLASS_REPORTS_H

// The class's results as files: a CSV row per submission, and one self-contained page that shows
// the class as a matrix of submissions by cases.

#include "verdict.h"

#include <string>
#include <string_view>
#include <vector>

// The field as RFC 4180 writes it: in double quotes, its own doubled, when it holds a comma, a
// double quote or a line end; as it is otherwise. A field that starts with =, +, -, @, a tab or
// a carriage return gets a leading ', so that a spreadsheet shows it as text.
std::string csvField(std::string_view text);

// Writes the header "submission,status,passed,failed,cases,failed_cases" and a row per
// submission, in the order given, to path, replacing the file in one step; false, with errno
// set, when the file fails.
bool writeCsv(const std::string& path, const std::vector<Row>& rows);

// The text as HTML holds it in an element or a quoted attribute: the characters HTML reserves
// as references, control characters but line ends and tabs as U+FFFD, and bytes that are not
// UTF-8 as U+FFFD.
std::string escapeHtml(std::string_view text);

// Writes the page to path, replacing the file in one step; false, with errno set, when it fails.
bool writeHtml(const std::string& path, const std::vector<Row>& rows, const std::string& title);

#endif
