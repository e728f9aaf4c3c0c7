#ifndef EMPLEADO_H_
#define EMPLEADO_H_

#include <cstddef>

// A payroll employee: what the payroll file gives (id, name, hours worked) and the salary the
// calculator sets from the hours.

constexpr int NOMBRE_LENGTH = 127; // longest name, without its terminating NUL

typedef struct S_Empleado {
    int id;
    char nombre[NOMBRE_LENGTH + 1]; // NUL-terminated
    int horasTrabajadas;
    int sueldo; // whole currency units, set by em_calcularSueldo
} Empleado;

// Lists written in C hand these records around field for field.
static_assert(offsetof(Empleado, id) == 0);
static_assert(offsetof(Empleado, nombre) == 4);
static_assert(offsetof(Empleado, horasTrabajadas) == 132);
static_assert(offsetof(Empleado, sueldo) == 136);
static_assert(sizeof(Empleado) == 140);

// Hourly rates by band of hours worked: up to 120, 121 to 160, above 160.
constexpr int TARIFA_BASICA = 180;
constexpr int TARIFA_MEDIA = 240;
constexpr int TARIFA_ALTA = 350;
constexpr int HORAS_TOPE_BASICA = 120;
constexpr int HORAS_TOPE_MEDIA = 160;

// Sets the salary of the Empleado pElement points to: hours worked times the rate of their band,
// held to the int range. A null element is left alone. Meant for ll_map.
void em_calcularSueldo(void* pElement);

#endif
