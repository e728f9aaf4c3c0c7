#include "Empleado.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

// The hourly rate for a number of hours worked; no hours (or a correction below zero) count as
// the basic band.
constexpr int64_t tarifaPorHoras(int horas) {
    if (horas <= HORAS_TOPE_BASICA) {
        return TARIFA_BASICA;
    }
    return horas <= HORAS_TOPE_MEDIA ? TARIFA_MEDIA : TARIFA_ALTA;
}

} // namespace

void em_calcularSueldo(void* pElement) {
    auto* empleado = static_cast<Empleado*>(pElement);
    if (empleado == nullptr) {
        return;
    }
    // Any int times the highest rate fits in 64 bits; only the result needs holding in range.
    const int64_t sueldo =
        int64_t{empleado->horasTrabajadas} * tarifaPorHoras(empleado->horasTrabajadas);
    empleado->sueldo = static_cast<int>(std::clamp<int64_t>(sueldo, INT_MIN, INT_MAX));
}
