#ifndef REGISTRO_LOOKUP_H
#define REGISTRO_LOOKUP_H

// Finding an employee at the console: the employees listed one a line, all of them or those whose
// last name holds a given part.

#include "registerFile.h"

#include <string>
#include <string_view>

// One line about employee: "Empleado 7: Eva Luna, salario 1234.50, sector 3."
std::string summary(const Employee& employee);

// Whether lastName holds part, letters compared regardless of case (any language's letters, as
// in UTF-8 names); the empty part is in every name.
bool lastNameHolds(std::string_view lastName, std::string_view part);

// Prints the line of every employee of reg whose last name holds part (blanks at its ends
// dropped), in table order; says so when there is none.
void showEmployees(const Register& reg, std::string_view part);

#endif
