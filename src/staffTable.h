#ifndef STAFFTABLE_H_
#define STAFFTABLE_H_

#include "status.h"

#include <cstddef>

// The employee register: a fixed table of Employee slots owned by the caller (as a rule a static
// array of EMPLOYEES slots), handed to every operation with its length. Nothing is allocated.
// Every operation first rejects a null table or a length of 0 or less with ERROR, silently.

constexpr int EMPLOYEES = 1000; // CORRECTO and ERROR come from status.h

// Longest name or last name kept; longer texts are cut to this many characters.
constexpr int NAME_LENGTH = 50;

struct Employee {
    int id;
    char name[NAME_LENGTH + 1];
    char lastName[NAME_LENGTH + 1];
    float salary;
    int sector;
    int isEmpty; // 0: free slot, 1: occupied slot
};

// Peers (the conformance fixture, lists written in C) share this record field for field.
static_assert(offsetof(Employee, id) == 0);
static_assert(offsetof(Employee, name) == 4);
static_assert(offsetof(Employee, lastName) == 55);
static_assert(offsetof(Employee, salary) == 108);
static_assert(offsetof(Employee, sector) == 112);
static_assert(offsetof(Employee, isEmpty) == 116);
static_assert(sizeof(Employee) == 120);

// What every operation first checks of its table and length.
inline bool isValidTable(const Employee* staffTable, int len) {
    return staffTable != nullptr && len > 0;
}

inline bool isOccupied(const Employee& employee) {
    return employee.isEmpty == 1;
}

// Copies at most NAME_LENGTH bytes of text, or nothing for a null text, into a name field and
// terminates it.
void copyName(char (&field)[NAME_LENGTH + 1], const char* text);

// Marks slots 0 to len-1 free; touches no other field.
int initEmployees(Employee* staffTable, int len);

// Stores an employee in the first free slot among 0 to len-1. Names longer than NAME_LENGTH are
// cut. ERROR for a null name or last name, or (printing "No se pueden agregar empleados") when
// every slot is taken.
int addEmployee(Employee* staffTable, int len, int id, char* name, char* lastName, float salary,
                int sector);

// Writes the index of the first free slot to *pUbicacionEmpty; ERROR, *pUbicacionEmpty untouched,
// when every slot is taken.
int searchEmpty(Employee* staffTable, int len, int* pUbicacionEmpty);

// The index of the first occupied slot holding id, or -1.
int findEmployeeById(Employee* staffTable, int len, int id);

// Prints every occupied slot in index order; ERROR (printing "No hay empleados para modificar")
// when there is none.
int printEmployees(Employee* staffTable, int length);

// Frees every occupied slot holding id; ERROR when none did.
int removeEmployee(Employee* staffTable, int len, int id);

// Orders all len slots, free ones included, by last name then sector: order 0 ascending,
// 1 descending. ERROR, nothing moved, for any other order.
int sortEmployeeByName(Employee* staffTable, int len, int order);

#endif
