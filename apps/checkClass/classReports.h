#ifndef CLASS_REPORTS_H
#define CLASS_REPORTS_H

// The class's results as files: a CSV row per submission, and one self-contained page that shows
// the class's summary first and then a matrix of submissions by groups of cases.

#include "verdict.h"

#include <string>
#include <string_view>
#include <vector>

// The field as RFC 4180 writes it: in double quotes, its own doubled, when it holds a comma, a
// double quote or a line end; as it is otherwise. A field that starts with =, +, -, @, a tab or
// a carriage return gets a leading ', so that a spreadsheet shows it as text.
std::string csvField(std::string_view text);

// The share of the points a submission earned, 0 to 100: the weights of its passed cases over
// the weights of all its cases, or its passed cases over its cases where nothing weighs; 0 for a
// submission that was not run.
double scorePercent(const Row& row);

// A percentage as the reports write it: to one decimal, without trailing zeros ("66.7", "100").
std::string percentText(double percent);

// Writes the header "submission,status,passed,failed,cases,failed_cases,score,reason" and a row
// per submission, in the order given, to path, replacing the file in one step; false, with errno
// set, when the file fails. reason is the grader's one line for a submission it could not check as
// a list (build-error, layout-error, error) and empty otherwise.
bool writeCsv(const std::string& path, const std::vector<Row>& rows);

// The text as HTML holds it in an element or a quoted attribute: the characters HTML reserves
// as references, control characters but line ends and tabs as U+FFFD, and bytes that are not
// UTF-8 as U+FFFD.
std::string escapeHtml(std::string_view text);

// Writes the page to path, replacing the file in one step; false, with errno set, when it fails.
bool writeHtml(const std::string& path, const std::vector<Row>& rows, const std::string& title);

#endif
