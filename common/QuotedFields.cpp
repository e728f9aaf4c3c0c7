#include "QuotedFields.h"

#include <algorithm>

namespace {

constexpr char QUOTE = '"';

// Reads the quoted field that starts at line[at] (its opening quote) into field; at ends behind
// the closing quote. False when the line ends before the field is closed.
bool readQuoted(std::string_view line, size_t& at, std::string& field) {
    for (++at; at < line.size(); ++at) {
        if (line[at] != QUOTE) {
            field.push_back(line[at]);
        } else if (at + 1 < line.size() && line[at + 1] == QUOTE) {
            field.push_back(QUOTE);
            ++at;
        } else {
            ++at;
            return true;
        }
    }
    return false;
}

} // namespace

QuotedLine splitQuotedFields(std::string_view line, char separator,
                             std::vector<QuotedField>& fields) {
    size_t used = 0;
    size_t at = 0;
    for (;;) {
        if (used == fields.size()) {
            fields.emplace_back();
        }
        QuotedField& field = fields[used++];
        field.text.clear();
        field.quoted = at < line.size() && line[at] == QUOTE;
        if (field.quoted) {
            if (!readQuoted(line, at, field.text)) {
                fields.resize(used);
                return QuotedLine::unclosedQuote;
            }
            if (at < line.size() && line[at] != separator) {
                fields.resize(used);
                return QuotedLine::afterQuote;
            }
        } else {
            const size_t end = std::min(line.find(separator, at), line.size());
            field.text.assign(line.substr(at, end - at));
            at = end;
        }
        if (at == line.size()) {
            fields.resize(used);
            return QuotedLine::ok;
        }
        ++at; // the separator
    }
}

void appendQuotedField(std::string& line, std::string_view field, bool quote) {
    if (!quote) {
        line.append(field);
        return;
    }
    line.push_back(QUOTE);
    for (const char c : field) {
        if (c == QUOTE) {
            line.push_back(QUOTE);
        }
        line.push_back(c);
    }
    line.push_back(QUOTE);
}

bool needsQuotes(std::string_view field, char separator) {
    const char special[] = {separator, QUOTE, '\n', '\r'};
    return field.find_first_of(std::string_view(special, sizeof special)) != std::string_view::npos;
}
