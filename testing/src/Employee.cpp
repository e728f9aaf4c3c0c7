#include "Employee.h"

#include <cstdlib>

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
