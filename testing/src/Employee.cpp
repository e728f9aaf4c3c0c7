#include "Employee.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Copies at most NAME_LENGTH characters of text, or nothing for a null text, and terminates.
void copyName(char (&field)[NAME_LENGTH + 1], const char* text) {
    std::snprintf(field, sizeof field, "%s", text != nullptr ? text : "");
}

} // namespace

// A new employee from malloc, so that C callers may release it with free; NULL on exhaustion.
Employee* newEmployee(int id, char* name, char* lastName, float salary, int sector) {
    auto* employee = static_cast<Employee*>(std::malloc(sizeof(Employee)));
    if (employee == nullptr) {
        return nullptr;
    }
    employee->id = id;
    copyName(employee->name, name);
    copyName(employee->lastName, lastName);
    employee->salary = salary;
    employee->sector = sector;
    employee->isEmpty = 1;
    return employee;
}
