#ifndef REGISTRO_REGISTERFORMAT_H
#define REGISTRO_REGISTERFORMAT_H

// The form of a register file: what separates the fields, the decimal mark of the salaries, the
// byte order mark, the line ends and which fields are in quotes. A new register takes the
// default form; a loaded file keeps its own, so that the spreadsheet that wrote it (say one set
// for Spanish, with ';', decimal commas, a byte order mark, CR LF and quotes) reads it back as
// it was.

#include "QuotedFields.h"
#include "staffTable.h"

#include <string>
#include <string_view>
#include <vector>

constexpr const char* REGISTER_HEADER = "id,nombre,apellido,salario,sector";
constexpr int REGISTER_FIELDS = 5;

struct RegisterFormat {
    char separator = ',';
    char decimalMark = '.';
    bool byteOrderMark = false;
    bool crLf = false;
    unsigned headerQuotes = 0;   // bit i set: the header's field i is in quotes
    unsigned employeeQuotes = 0; // bit i set: field i of an employee's line is in quotes
    bool employeeSeen = false;   // employeeQuotes was read from the file
    bool decimalMarkSeen = false;
};

// Reads the header line, its line end taken as crLf, into format: the names of REGISTER_HEADER
// apart by ',' or ';', each maybe in quotes, maybe after a UTF-8 byte order mark. False, format
// untouched, when line is no header.
bool readHeader(std::string_view line, bool crLf, RegisterFormat& format);

// What the loader says of a first line that is no header.
std::string headerRule();

// Whether line is an empty row as spreadsheets write one: nothing but separators and blanks.
bool isEmptyRow(std::string_view line, const RegisterFormat& format);

// Splits an employee's line into its REGISTER_FIELDS fields; what is wrong with the line, or
// nothing. The first employee's line sets which fields go in quotes; its first salary with a
// decimal mark sets the mark (see noteDecimalMark).
std::string splitEmployeeLine(std::string_view line, RegisterFormat& format,
                              std::vector<QuotedField>& fields);

// Takes the decimal mark of salary as the file's when it is the first salary that has one.
void noteDecimalMark(std::string_view salary, RegisterFormat& format);

// The header line and an employee's line in format, line end included.
std::string headerLine(const RegisterFormat& format);
std::string employeeLine(const RegisterFormat& format, const Employee& employee);

#endif
