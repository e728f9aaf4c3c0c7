// The salary rule: hours times the rate of their band, held to the int range.
#include "Empleado.h"

#include <climits>
#include <cstring>
#include <gtest/gtest.h>

namespace {

int sueldoFor(int horas) {
    Empleado empleado{};
    empleado.horasTrabajadas = horas;
    empleado.sueldo = 12345;
    em_calcularSueldo(&empleado);
    return empleado.sueldo;
}

TEST(CalcularSueldo, EachBandAndItsBordersUseTheirRate) {
    EXPECT_EQ(sueldoFor(0), 0);
    EXPECT_EQ(sueldoFor(1), 180);
    EXPECT_EQ(sueldoFor(120), 120 * 180);
    EXPECT_EQ(sueldoFor(121), 121 * 240);
    EXPECT_EQ(sueldoFor(160), 160 * 240);
    EXPECT_EQ(sueldoFor(161), 161 * 350);
    EXPECT_EQ(sueldoFor(1000), 1000 * 350);
}

TEST(CalcularSueldo, NegativeHoursCountAtTheBasicRate) {
    EXPECT_EQ(sueldoFor(-1), -180);
    EXPECT_EQ(sueldoFor(-200), -200 * 180);
}

TEST(CalcularSueldo, SalariesBeyondTheIntRangeAreHeldAtItsEnds) {
    const int largestExact = INT_MAX / 350;
    EXPECT_EQ(sueldoFor(largestExact), largestExact * 350);
    EXPECT_EQ(sueldoFor(largestExact + 1), INT_MAX);
    EXPECT_EQ(sueldoFor(INT_MAX), INT_MAX);
    const int smallestExact = INT_MIN / 180;
    EXPECT_EQ(sueldoFor(smallestExact), smallestExact * 180);
    EXPECT_EQ(sueldoFor(smallestExact - 1), INT_MIN);
    EXPECT_EQ(sueldoFor(INT_MIN), INT_MIN);
}

TEST(CalcularSueldo, SetsOnlyTheSalaryAndLeavesANullElementAlone) {
    Empleado empleado{};
    empleado.id = -4;
    std::strcpy(empleado.nombre, "Ana Paz");
    empleado.horasTrabajadas = 130;
    em_calcularSueldo(&empleado);
    EXPECT_EQ(empleado.id, -4);
    EXPECT_STREQ(empleado.nombre, "Ana Paz");
    EXPECT_EQ(empleado.horasTrabajadas, 130);
    EXPECT_EQ(empleado.sueldo, 130 * 240);
    em_calcularSueldo(nullptr);
}

} // namespace
