// Lengths with ll_len, which answers from the size field.
#include "LinkedList.h"
#include "utest.h"

// The fixture length the other groups share; no case here needs it.
#define LENGTH 5

// The messages the assertions report with.
static const char SIZE_FIELD_MSG[] =
    "\nError en el valor de retorno de <len> si los parametros son correctos\n la funcion retorna "
    "la cantidad de elementos de la lista\n";
static const char EMPTY_MSG[] = "\nError en el valor de retorno de <len> si los parametros son "
                                "correctos \ny la lista esta vacia la funcion retorna 0\n";
static const char NULL_LIST_MSG[] = "\nError en el valor de retorno de <len> si el puntero a la "
                                    "lista es NULL\n la funcion retorna -1\n";

void countProbeSetup() {
    utest_print("Setup...\r\n");
}

// The length is the size field, even with no node behind it.
void countProbeCase01() {
    LinkedList* list = ll_newLinkedList();
    list->size = 5;
    int r = ll_len(list);
    utest_assertEqualsIntMsg(r, 5, SIZE_FIELD_MSG);
}

// An empty list has length 0.
void countProbeCase02() {
    LinkedList* list = ll_newLinkedList();
    int r = ll_len(list);
    utest_assertEqualsIntMsg(r, 0, EMPTY_MSG);
}

// A null list answers -1.
void countProbeCase03() {
    int r = ll_len(nullptr);
    utest_assertEqualsIntMsg(r, -1, NULL_LIST_MSG);
}
