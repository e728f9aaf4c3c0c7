#include "informes.h"

#include "inq_gets.h"

#include <cstdio>

namespace {

constexpr int OPTION_LIST = 1;
constexpr int OPTION_SALARIES = 2;

// An order that sortEmployeeByName refuses: an order line that is not a number lists the table as
// it stands.
constexpr int ORDER_UNCHANGED = -1;

// Option 1: asks the order, orders the table with it and lists the employees.
void listOrdered(Employee* staffTable, int len) {
    int order = ORDER_UNCHANGED;
    std::puts("Ingrese 0 para ascendente o 1 para descendente:");
    std::fflush(stdout);
    inq_getInt(&order);
    sortEmployeeByName(staffTable, len, order);
    printEmployees(staffTable, len);
}

// Option 2: prints the total, the average and how many employees earn above it.
void printSalaryFigures(Employee* staffTable, int len) {
    float total = 0.0f;
    float average = 0.0f;
    int aboveAverage = 0;
    reportTotalSalary(staffTable, len, &total);
    std::printf("El salario total es:%.2f\n", static_cast<double>(total));
    countEmployeesAndAverageSalary(staffTable, len, total, &average);
    std::printf("El salario promedio es:%.2f\n", static_cast<double>(average));
    employeesWhitSalaryMoreThanAverageSalary(staffTable, len, average, &aboveAverage);
    std::printf("La cantidad de trabajadores por encima del salario promedio es:%d\n",
                aboveAverage);
}

} // namespace

int menuOrderEmployees(Employee* staffTable, int lentgh) {
    if (!isValidTable(staffTable, lentgh)) {
        return ERROR;
    }
    std::puts("Que desea informar?");
    std::puts("1. Listado de los empleados ordenados alfabéticamente por Apellido y Sector.");
    std::puts("2. Total y promedio de los salarios, y cuántos empleados superan el salario "
              "promedio.");
    std::puts("Elija una opcion por numero: ");
    // The question must be on screen before the program waits for the answer, whatever stdout is.
    std::fflush(stdout);
    int option = 0;
    inq_getInt(&option); // discards what an earlier read left pending
    switch (option) {
    case OPTION_LIST:
        listOrdered(staffTable, lentgh);
        return CORRECTO;
    case OPTION_SALARIES:
        printSalaryFigures(staffTable, lentgh);
        return CORRECTO;
    default:
        std::puts("Opcion no valida.");
        return ERROR;
    }
}

int reportTotalSalary(Employee* staffTable, int len, float* pTotalSalary) {
    if (!isValidTable(staffTable, len) || pTotalSalary == nullptr) {
        return ERROR;
    }
    float total = 0.0f;
    for (int i = 0; i < len; i++) {
        if (isOccupied(staffTable[i])) {
            total = staffTable[i].salary + total;
        }
    }
    *pTotalSalary = total;
    return CORRECTO;
}

int countEmployeesAndAverageSalary(Employee* staffTable, int len, float totalSalary,
                                   float* pAverageSalary) {
    if (!isValidTable(staffTable, len) || pAverageSalary == nullptr) {
        return ERROR;
    }
    int employees = 0;
    for (int i = 0; i < len; i++) {
        if (isOccupied(staffTable[i])) {
            employees++;
        }
    }
    *pAverageSalary = employees > 0 ? totalSalary / static_cast<float>(employees) : 0.0f;
    return CORRECTO;
}

int employeesWhitSalaryMoreThanAverageSalary(Employee* staffTable, int len, float averageSalary,
                                             int* qtyEmployeesWhitSalaryMoreThanAverage) {
    if (!isValidTable(staffTable, len) || qtyEmployeesWhitSalaryMoreThanAverage == nullptr) {
        return ERROR;
    }
    int above = 0;
    for (int i = 0; i < len; i++) {
        if (isOccupied(staffTable[i]) && staffTable[i].salary > averageSalary) {
            above++;
        }
    }
    *qtyEmployeesWhitSalaryMoreThanAverage = above;
    return CORRECTO;
}
