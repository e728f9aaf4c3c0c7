#ifndef PARSER_H_
#define PARSER_H_

#include "LinkedList.h"

// The payroll the salary export reads, in the current folder.
constexpr char ARCHIVO_EMPLEADOS[] = "archivo.csv";

// Reads the payroll file at path and appends one Empleado a line to pArrayListEmployee.
//
// The file: the header line id,nombre,horasTrabajadas (a UTF-8 byte order mark may come before
// it); then one employee a line, id,nombre,horasTrabajadas, with LF or CRLF line ends. id and
// hours are decimal 32-bit integers with an optional leading '-'; nombre has 1 to NOMBRE_LENGTH bytes, no
// comma and no control character. Blank lines are skipped; the last line may lack its line end.
//
// Returns 1 when the whole file was read. Returns 0 for a null path or list, a file that cannot be
// read, a malformed line or a lack of memory; the list is then left as it was found and every
// record this call created is released. Each of these but the null arguments first prints one
// line on standard output saying where and why: "path:LINE: reason" (the header is line 1), or
// "path: reason" when no line is to blame.
//
// The records belong to the parser and live until the process ends; nobody frees them.
int parser_parseEmpleados(char* path, LinkedList* pArrayListEmployee);

#endif
