#ifndef INFORMES_H_
#define INFORMES_H_

#include "staffTable.h"

// The register's report menu and its three salary figures, over the caller's employee table.
// Every function returns CORRECTO, or ERROR at once (printing and writing nothing) for a null
// table, a length of 0 or less, or a null destination. Only occupied slots count in the figures.

// Asks what to report: 1 orders the table (0 ascending, 1 descending by last name then sector) and
// lists it, 2 prints the total and average salary and how many employees earn above the average.
// Any other choice, or a line that is not a number, prints "Opcion no valida." and gives ERROR.
// Reads and orders only slots 0 to lentgh-1.
int menuOrderEmployees(Employee* staffTable, int lentgh);

// Writes the sum of the occupied slots' salaries to *pTotalSalary.
int reportTotalSalary(Employee* staffTable, int len, float* pTotalSalary);

// Writes totalSalary divided by the number of occupied slots to *pAverageSalary; 0 when there is
// no occupied slot.
int countEmployeesAndAverageSalary(Employee* staffTable, int len, float totalSalary,
                                   float* pAverageSalary);

// Writes how many occupied slots hold a salary strictly above averageSalary.
int employeesWhitSalaryMoreThanAverageSalary(Employee* staffTable, int len, float averageSalary,
                                             int* qtyEmployeesWhitSalaryMoreThanAverage);

#endif
