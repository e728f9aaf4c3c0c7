#ifndef SALARYWRITER_H_
#define SALARYWRITER_H_

#include "LinkedList.h"

// The salaries the salary export writes, in the current folder.
constexpr char ARCHIVO_SUELDOS[] = "sueldos.csv";

// Writes a line "id,nombre,horasTrabajadas,sueldo" per Empleado of the list, in list order, to
// fileName; an index without an element writes nothing. The file is replaced in one step (see
// AtomicFile): whatever stops the writer, fileName holds its old content or the whole new one;
// a link stays a link, an existing file keeps its permission bits, and a device or FIFO is
// written in place.
//
// Returns 1 once every line reached the disk and the new file is in place, printing "El archivo
// se guardo exitosamente". Returns -1, leaving the old file as it was, for a null name or list, a
// list of negative length (printing "Hubo un error al guardar el archivo"), a fileName that is
// the same file as the payroll ARCHIVO_EMPLEADOS (Parser.h) (a link to it, or it a link to fileName), or any
// failure to write.
int generarArchivoSueldos(char* fileName, LinkedList* listaEmpleados);

#endif
