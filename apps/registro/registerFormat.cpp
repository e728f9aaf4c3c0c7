#include "registerFormat.h"

#include "employeeFields.h"

#include <array>
#include <cstdio>

namespace {

constexpr std::array<std::string_view, REGISTER_FIELDS> NAMES = {"id", "nombre", "apellido",
                                                                 "salario", "sector"};
constexpr std::string_view BYTE_ORDER_MARK = "\xEF\xBB\xBF";
constexpr size_t SALARY_FIELD = 3;

char otherSeparator(char separator) {
    return separator == ',' ? ';' : ',';
}

// Which fields are in quotes, bit i for field i.
unsigned quotesOf(const std::vector<QuotedField>& fields) {
    unsigned quotes = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        quotes |= fields[i].quoted ? 1U << i : 0U;
    }
    return quotes;
}

// Whether line holds the header's names apart by separator; its quotes into quotes.
bool isHeaderWith(std::string_view line, char separator, unsigned& quotes) {
    std::vector<QuotedField> fields;
    if (splitQuotedFields(line, separator, fields) != QuotedLine::ok ||
        fields.size() != NAMES.size()) {
        return false;
    }
    for (size_t i = 0; i < NAMES.size(); ++i) {
        if (fields[i].text != NAMES[i]) {
            return false;
        }
    }
    quotes = quotesOf(fields);
    return true;
}

std::string quotedSeparator(char separator) {
    return std::string("\"") + separator + "\"";
}

// The fields, each in quotes where quotes asks or its text needs them, apart by the separator
// and followed by the line end.
std::string joined(const RegisterFormat& format,
                   const std::array<std::string, REGISTER_FIELDS>& fields, unsigned quotes) {
    std::string line;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            line.push_back(format.separator);
        }
        appendQuotedField(line, fields[i],
                          (quotes & (1U << i)) != 0 || needsQuotes(fields[i], format.separator));
    }
    line += format.crLf ? "\r\n" : "\n";
    return line;
}

// What is wrong with a line of fields, split by format's separator, that are not REGISTER_FIELDS.
std::string fieldCountFault(std::string_view line, const RegisterFormat& format,
                            const std::vector<QuotedField>& fields) {
    const char other = otherSeparator(format.separator);
    std::vector<QuotedField> asOther;
    if (splitQuotedFields(line, other, asOther) == QuotedLine::ok &&
        asOther.size() == NAMES.size()) {
        return "la línea separa los campos con " + quotedSeparator(other) +
               " y la primera línea con " + quotedSeparator(format.separator);
    }
    // A salary with a decimal comma, written without quotes where ',' separates, comes in two.
    if (format.separator == ',' && fields.size() == NAMES.size() + 1) {
        const std::string salary = fields[SALARY_FIELD].text + "," + fields[SALARY_FIELD + 1].text;
        float amount = 0.0f;
        if (readSalary(salary, amount)) {
            return "un salario con coma decimal va entre comillas si \",\" separa los campos: \"" +
                   salary + "\"";
        }
    }
    std::string names;
    for (const std::string_view name : NAMES) {
        if (!names.empty()) {
            names += format.separator;
        }
        names += name;
    }
    return "se esperan 5 campos: " + names;
}

} // namespace

bool readHeader(std::string_view line, bool crLf, RegisterFormat& format) {
    const bool byteOrderMark = line.starts_with(BYTE_ORDER_MARK);
    if (byteOrderMark) {
        line.remove_prefix(BYTE_ORDER_MARK.size());
    }
    for (const char separator : {',', ';'}) {
        unsigned quotes = 0;
        if (isHeaderWith(line, separator, quotes)) {
            format = RegisterFormat{};
            format.separator = separator;
            // A file written with ';' comes from where the comma is the decimal mark.
            format.decimalMark = separator == ';' ? ',' : '.';
            format.byteOrderMark = byteOrderMark;
            format.crLf = crLf;
            format.headerQuotes = quotes;
            return true;
        }
    }
    return false;
}

std::string headerRule() {
    return std::string("la primera línea debe ser ") + REGISTER_HEADER +
           ", con \",\" o con \";\" entre los nombres";
}

bool isEmptyRow(std::string_view line, const RegisterFormat& format) {
    const char empty[] = {format.separator, ' ', '\t'};
    return line.find_first_not_of(std::string_view(empty, sizeof empty)) == std::string_view::npos;
}

std::string splitEmployeeLine(std::string_view line, RegisterFormat& format,
                              std::vector<QuotedField>& fields) {
    switch (splitQuotedFields(line, format.separator, fields)) {
    case QuotedLine::unclosedQuote:
        return "un campo entre comillas no se cierra";
    case QuotedLine::afterQuote:
        return "tras las comillas que cierran un campo debe venir " +
               quotedSeparator(format.separator);
    default:
        break;
    }
    if (fields.size() != NAMES.size()) {
        return fieldCountFault(line, format, fields);
    }
    if (!format.employeeSeen) {
        format.employeeSeen = true;
        format.employeeQuotes = quotesOf(fields);
    }
    return {};
}

void noteDecimalMark(std::string_view salary, RegisterFormat& format) {
    const size_t mark = salary.find_first_of(".,");
    if (!format.decimalMarkSeen && mark != std::string_view::npos) {
        format.decimalMarkSeen = true;
        format.decimalMark = salary[mark];
    }
}

std::string headerLine(const RegisterFormat& format) {
    std::array<std::string, REGISTER_FIELDS> names;
    for (size_t i = 0; i < names.size(); ++i) {
        names[i] = NAMES[i];
    }
    return std::string(format.byteOrderMark ? BYTE_ORDER_MARK : "") +
           joined(format, names, format.headerQuotes);
}

std::string employeeLine(const RegisterFormat& format, const Employee& employee) {
    char salary[32];
    std::snprintf(salary, sizeof salary, "%.2f", static_cast<double>(employee.salary));
    std::string amount = salary;
    // The program never leaves the C numeric locale: the mark printed is '.'.
    if (const size_t point = amount.find('.'); point != std::string::npos) {
        amount[point] = format.decimalMark;
    }
    return joined(format,
                  {std::to_string(employee.id), employee.name, employee.lastName, amount,
                   std::to_string(employee.sector)},
                  format.employeeQuotes);
}
