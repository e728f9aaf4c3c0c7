#ifndef REGISTRO_EMPLOYEEFIELDS_H
#define REGISTRO_EMPLOYEEFIELDS_H

// The rules for an employee's fields, the same for an answer typed at the console and for a field
// of the register file, so that whatever the program stores it can read back.

#include "staffTable.h"

#include <string_view>

// The highest salary taken, in cents. The record keeps a salary as a single-precision float, which
// holds every amount with cents exactly to the cent up to 131071.99; within this maximum what is
// shown is always what was typed, and the report's figures over 1000 employees stay finite.
constexpr long long HIGHEST_SALARY_CENTS = 10'000'000; // 100000.00

// What each rule asks for, to follow "debe ser" or "debe tener" in the messages.
constexpr const char* NAME_RULE =
    "letras, y solo letras, espacios, y guiones o apóstrofos entre letras";
constexpr const char* SALARY_RULE =
    "un número de 0 a 100000, con punto o coma decimal y hasta dos decimales";
constexpr const char* WHOLE_NUMBER_RULE = "un número entero de 1 en adelante";

enum class NameCheck {
    ok,       // stored as it is (less the blanks at its ends)
    cut,      // stored cut to NAME_LENGTH bytes
    notAName, // nothing stored
};

// The text without blanks at either end.
std::string_view trimBlanks(std::string_view text);

// Reads a name: letters of any language in UTF-8, blanks, and '-' or an apostrophe between two
// letters; at least one letter. Blanks at either end are dropped. A name longer than NAME_LENGTH
// bytes is cut at the last character boundary within it, dropping the blanks, '-' and apostrophes
// the cut leaves at its end. Letters are what the C library calls letters under C.UTF-8.
NameCheck readName(std::string_view text, char (&name)[NAME_LENGTH + 1]);

// Reads a whole number from 1 to INT_MAX written in digits alone; false, value untouched, for
// anything else.
bool readWholeNumber(std::string_view text, int& value);

// Reads a salary: digits with at most one decimal mark, '.' or ',', at most two digits after it,
// at least one digit in all, and at most HIGHEST_SALARY_CENTS; false, salary untouched, for
// anything else.
bool readSalary(std::string_view text, float& salary);

#endif
