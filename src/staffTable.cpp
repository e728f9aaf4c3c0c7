#include "staffTable.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace {

// True when a belongs before b in the given order by (lastName, sector).
bool goesBefore(const Employee& a, const Employee& b, int order) {
    const int byName = std::strcmp(a.lastName, b.lastName);
    if (order == 0) {
        return byName < 0 || (byName == 0 && a.sector < b.sector);
    }
    return byName > 0 || (byName == 0 && a.sector > b.sector);
}

} // namespace

void copyName(char (&field)[NAME_LENGTH + 1], const char* text) {
    std::snprintf(field, sizeof field, "%s", text != nullptr ? text : "");
}

int initEmployees(Employee* staffTable, int len) {
    if (!isValidTable(staffTable, len)) {
        return ERROR;
    }
    for (int i = 0; i < len; i++) {
        staffTable[i].isEmpty = 0;
    }
    return CORRECTO;
}

int addEmployee(Employee* staffTable, int len, int id, char* name, char* lastName, float salary,
                int sector) {
    if (!isValidTable(staffTable, len) || name == nullptr || lastName == nullptr) {
        return ERROR;
    }
    int slot = 0;
    if (searchEmpty(staffTable, len, &slot) != CORRECTO) {
        std::puts("No se pueden agregar empleados");
        return ERROR;
    }
    Employee& employee = staffTable[slot];
    employee.id = id;
    copyName(employee.name, name);
    copyName(employee.lastName, lastName);
    employee.salary = salary;
    employee.sector = sector;
    employee.isEmpty = 1;
    return CORRECTO;
}

int searchEmpty(Employee* staffTable, int len, int* pUbicacionEmpty) {
    if (!isValidTable(staffTable, len)) {
        return ERROR;
    }
    for (int i = 0; i < len; i++) {
        if (!isOccupied(staffTable[i])) {
            *pUbicacionEmpty = i;
            return CORRECTO;
        }
    }
    return ERROR;
}

int findEmployeeById(Employee* staffTable, int len, int id) {
    if (!isValidTable(staffTable, len)) {
        return -1;
    }
    for (int i = 0; i < len; i++) {
        if (isOccupied(staffTable[i]) && staffTable[i].id == id) {
            return i;
        }
    }
    return -1;
}

int printEmployees(Employee* staffTable, int length) {
    if (!isValidTable(staffTable, length)) {
        return ERROR;
    }
    bool printed = false;
    for (int i = 0; i < length; i++) {
        const Employee& e = staffTable[i];
        if (isOccupied(e)) {
            std::printf("ID empleado: %d\n Nombre:%s\n Apellido:%s\n Salario:%.2f\n Sector:%d\n",
                        e.id, e.name, e.lastName, static_cast<double>(e.salary), e.sector);
            printed = true;
        }
    }
    if (!printed) {
        std::puts("No hay empleados para modificar");
        return ERROR;
    }
    return CORRECTO;
}

int removeEmployee(Employee* staffTable, int len, int id) {
    if (!isValidTable(staffTable, len)) {
        return ERROR;
    }
    int result = ERROR;
    for (int i = 0; i < len; i++) {
        if (isOccupied(staffTable[i]) && staffTable[i].id == id) {
            staffTable[i].isEmpty = 0;
            result = CORRECTO;
        }
    }
    return result;
}

int sortEmployeeByName(Employee* staffTable, int len, int order) {
    if (!isValidTable(staffTable, len) || (order != 0 && order != 1)) {
        return ERROR;
    }
    for (int i = 0; i < len - 1; i++) {
        for (int j = i + 1; j < len; j++) {
            if (goesBefore(staffTable[j], staffTable[i], order)) {
                std::swap(staffTable[i], staffTable[j]);
            }
        }
    }
    return CORRECTO;
}
