// Another project's program, built against an install through its CMake package or its pkg-config
// files: it calls each installed library through the installed headers; 0 when all answered right.
#include "LinkedList.h"
#include "Revelados.h"
#include "informes.h"
#include "inq_gets.h"

#include <cstdlib>

int main() {
    static Employee staff[EMPLOYEES];
    float total = -1;
    LinkedList* sales = ll_newLinkedList();
    Revelado* sale = revelado_new();
    const bool answered = initEmployees(staff, EMPLOYEES) == CORRECTO &&
                          reportTotalSalary(staff, EMPLOYEES, &total) == CORRECTO && total == 0 &&
                          inq_isNumber("12") == 1 && ll_add(sales, sale) == 0 &&
                          revelados_setCantidad(sale, 4) == 0 &&
                          revelados_totalesCount(ll_get(sales, 0)) == 4;
    ll_deleteLinkedList(sales);
    std::free(sale);
    return answered ? EXIT_SUCCESS : EXIT_FAILURE;
}
