// Removal by index with ll_pop, and ll_get on a null list.
#include "caseList.h"

static char firstName[] = "JUAN";
static char lastName[] = "PEREZ";

// The messages the assertions report with.
static const char POPPED_MSG[] =
    "\nError en el valor de retorno de <pop> si los parametros son correctos\n y la lista tiene el "
    "elemento solitado la funcion retorna el puntero al elemento\n";
static const char FIRST_POPPED_MSG[] =
    "\nError en el valor de retorno de <pop> al solicitar el primer elemento\n";
static const char LAST_POPPED_MSG[] =
    "\nError en el valor de retorno de <pop> al solicitar el ultimo elemento\n";
static const char BELOW_RANGE_MSG[] =
    "\nError en el valor de retorno de <pop> al solicitar un "
    "elemento fuera de indice (< 0),\n se deberia retornar NULL\n";
static const char PAST_LENGTH_MSG[] =
    "\nError en el valor de retorno de <pop> al solicitar un elemento fuera de indice (>= "
    "ll_len),\n se deberia retornar NULL\n";
static const char NULL_LIST_MSG[] = "\nError en el valor de retorno de <get> si la lista pasada es "
                                    "NULL\n el valor a retornar es NULL\n";
static const char LENGTH_MSG[] = "\nError en el len() de la lista luego de quitar un elemento";

// The employee every case keeps in the list.
static Employee* caseEmployee() {
    Employee* employee = newEmployee(10, firstName, lastName, 1.0f, 1);
    utest_name(employee, "employee");
    return employee;
}

// A new list holding pElement alone.
static LinkedList* listOfOne(Employee* pElement) {
    LinkedList* list = ll_newLinkedList();
    ll_add(list, pElement);
    return list;
}

// A new list holding a null element, then pElement.
static LinkedList* listOfTwo(Employee* pElement) {
    LinkedList* list = ll_newLinkedList();
    ll_add(list, nullptr);
    ll_add(list, pElement);
    return list;
}

void extractProbeSetup() {
    utest_print("Setup...\r\n");
}

// Popping the only element hands something back.
void extractProbeCase01() {
    Employee* pElement = caseEmployee();
    LinkedList* list = listOfOne(pElement);
    void* pElement2 = ll_pop(list, 0);
    utest_assertNotNullMsg(pElement2, POPPED_MSG);
}

// Popping the only element returns it and empties the list.
void extractProbeCase02() {
    Employee* pElement = caseEmployee();
    LinkedList* list = listOfOne(pElement);
    void* pElement2 = ll_pop(list, 0);
    utest_assertEqualsPointerMsg(pElement2, pElement, FIRST_POPPED_MSG);
    utest_assertEqualsIntMsg(ll_len(list), 0, LENGTH_MSG);
}

// Popping the last of two returns it and leaves one element.
void extractProbeCase03() {
    Employee* pElement = caseEmployee();
    LinkedList* list = listOfTwo(pElement);
    void* pElement2 = ll_pop(list, 1);
    utest_assertEqualsPointerMsg(pElement2, pElement, LAST_POPPED_MSG);
    utest_assertEqualsIntMsg(ll_len(list), 1, LENGTH_MSG);
}

// Indices below 0 or at the length give null.
void extractProbeCase04() {
    Employee* pElement = caseEmployee();
    LinkedList* list = listOfTwo(pElement);
    void* pElement2 = ll_pop(list, -1);
    utest_assertNullMsg(pElement2, BELOW_RANGE_MSG);
    pElement2 = ll_pop(list, 2);
    utest_assertNullMsg(pElement2, PAST_LENGTH_MSG);
}

// A null list has no elements.
void extractProbeCase05() {
    utest_assertNullMsg(ll_get(nullptr, 0), NULL_LIST_MSG);
}
