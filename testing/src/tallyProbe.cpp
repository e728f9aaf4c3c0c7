// Summing a callback's results with ll_count: only the results above 0 count.
#include "caseList.h"

// The messages the assertions report with.
static const char POSITIVE_MSG[] = "\nError en el valor de retorno de <count>: debe ser la suma "
                                   "de los resultados mayores que 0\n";
static const char EMPTY_MSG[] =
    "\nError en el valor de retorno de <count> si la lista esta vacia, debe ser 0\n";
static const char NULL_LIST_MSG[] = "\nError en el valor de retorno de <count> si la lista pasada "
                                    "es NULL\n el valor a retornar es -1\n";
static const char NULL_FUNCTION_MSG[] = "\nError en el valor de retorno de <count> si la funcion "
                                        "pasada es NULL\n el valor a retornar es -1\n";

// The callback: the employee's sector, 0 for a null element.
static int sectorOf(void* pElement) {
    return pElement != nullptr ? static_cast<Employee*>(pElement)->sector : 0;
}

void tallyProbeSetup() {
    utest_print("Setup...\r\n");
}

// Sectors 3, -4, 0, 6 and -1, and a null element, count 3 + 6.
void tallyProbeCase01() {
    caseList::CaseList c(5);
    const int sectors[] = {3, -4, 0, 6, -1};
    for (int i = 0; i < 5; i++) {
        c.staff[i]->sector = sectors[i];
    }
    ll_add(c.list(), nullptr);
    utest_assertEqualsIntMsg(ll_count(c.list(), sectorOf), 9, POSITIVE_MSG);
}

// An empty list counts 0; a null list or a null callback answer -1.
void tallyProbeCase02() {
    caseList::CaseList c(0);
    utest_assertEqualsIntMsg(ll_count(c.list(), sectorOf), 0, EMPTY_MSG);
    utest_assertEqualsIntMsg(ll_count(nullptr, sectorOf), -1, NULL_LIST_MSG);
    ll_add(c.list(), c.staff[1]);
    utest_assertEqualsIntMsg(ll_count(c.list(), nullptr), -1, NULL_FUNCTION_MSG);
}
