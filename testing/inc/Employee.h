#ifndef EMPLOYEE_H
#define EMPLOYEE_H

// The conformance fixture's records are the register's own Employee.
#include "staffTable.h"

// A new occupied Employee on the heap (the caller frees it with free), with names cut to
// NAME_LENGTH characters and a null name taken as empty; NULL when memory runs out.
Employee* newEmployee(int id, char* name, char* lastName, float salary, int sector);

#endif
