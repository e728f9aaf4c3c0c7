#ifndef COMMON_QUOTEDFIELDS_H
#define COMMON_QUOTEDFIELDS_H

#include <string>
#include <string_view>
#include <vector>

// The fields of one line of a delimited text file as spreadsheets write it (RFC 4180): fields
// apart by a separator character; a field that starts with a double quote runs to the closing
// quote, holds the separator as text, and writes a quote as two. A field that does not start with
// a quote is taken as it stands. A line is one record: a quoted field cannot hold a line end.

struct QuotedField {
    std::string text; // without its quotes, a doubled quote read as one
    bool quoted = false;
};

enum class QuotedLine {
    ok,
    unclosedQuote, // a quoted field runs to the end of the line
    afterQuote,    // something other than the separator follows a closing quote
};

// Splits line at separator into fields (cleared first; their storage is reused).
QuotedLine splitQuotedFields(std::string_view line, char separator,
                             std::vector<QuotedField>& fields);

// Appends field to line, in quotes (a quote inside it doubled) when quote is true.
void appendQuotedField(std::string& line, std::string_view field, bool quote);

// Whether field must be quoted to be read back as it is with separator.
bool needsQuotes(std::string_view field, char separator);

#endif
