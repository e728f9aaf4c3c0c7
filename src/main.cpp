// The salary export: reads the payroll "archivo.csv", computes every employee's salary and writes
// them all to "sueldos.csv", one line "id,nombre,horasTrabajadas,sueldo" each. Exits 0 once the
// salaries are written, 1 when the payroll could not be read or the salaries not written (or the
// console not), 2 for a wrong command line. Installed as exportar-sueldos: its messages carry the
// name it was started under.
#include "Empleado.h"
#include "LinkedList.h"
#include "Parser.h"
#include "salaryWriter.h"
#include "status.h"
#include "usage.h"

#include <cstdio>
#include <vector>

namespace {

constexpr CommandLine::Program PROGRAM = {
    "main",
    true,
    "",
    "\n"
    "Lee la nómina archivo.csv de la carpeta actual, calcula el sueldo de cada empleado y\n"
    "escribe sueldos.csv a su lado, una línea id,nombre,horasTrabajadas,sueldo por empleado;\n"
    "un sueldos.csv anterior queda entero si algo falla.\n"
    "archivo.csv: la línea id,nombre,horasTrabajadas y luego un empleado por línea,\n"
    "id,nombre,horasTrabajadas: id y horas enteros; el nombre de 1 a 127 bytes, sin comas\n"
    "ni caracteres de control.\n"
    "Sueldo: horas por 180 hasta 120 horas, por 240 hasta 160, por 350 por encima.\n"
    "\n",
    {},
    "\n"
    "Sale con 0 si escribió sueldos.csv, 1 si no pudo leer la nómina o escribir los sueldos,\n"
    "2 si recibe argumentos.\n",
    0,
    false,
    Speaks::spanish,
};

// The employees, reachable until the process ends: the records and the list are never released.
LinkedList* empleados = nullptr;

// Reads the payroll, computes the salaries and writes them, printing each outcome; whether the
// salaries were written.
bool exportSalaries() {
    empleados = ll_newLinkedList();
    if (parser_parseEmpleados(const_cast<char*>(ARCHIVO_EMPLEADOS), empleados) != 1) {
        std::puts("Error leyendo empleados");
        return false;
    }
    std::puts("Calculando sueldos de empleados");
    ll_map(empleados, em_calcularSueldo);
    if (generarArchivoSueldos(const_cast<char*>(ARCHIVO_SUELDOS), empleados) != 1) {
        std::puts("Error generando archivo");
        return false;
    }
    std::puts("Archivo generado correctamente");
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    std::vector<const char*> none;
    if (const auto status = CommandLine(PROGRAM, argc, argv).read({}, none)) {
        return *status;
    }
    const bool exported = exportSalaries();
    return exported && flushOutput() ? EXIT_OK : EXIT_FAILED;
}
