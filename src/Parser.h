#ifndef PARSER_H_
#define PARSER_H_

#include "LinkedList.h"

// Reads the payroll file at path and appends one Empleado a line to pArrayListEmployee.
//
// The file: a header line (id,nombre,horasTrabajadas), skipped unread; then one employee a line,
// id,nombre,horasTrabajadas, with LF or CRLF line ends. id and hours are decimal 32-bit integers
// with an optional leading '-'; nombre has 1 to 127 characters and no comma. Blank lines are
// skipped; the last line may lack its line end.
//
// Returns 1 when the whole file was read. Returns 0 for a null path or list, a file that cannot be
// read, a malformed line or a lack of memory; the list is then left as it was found and every
// record this call created is released.
//
// The records belong to the parser and live until the process ends; nobody frees them.
int parser_parseEmpleados(char* path, LinkedList* pArrayListEmployee);

#endif
