// Positions with ll_indexOf, null elements included.
#include "LinkedList.h"
#include "utest.h"

#include <cstdint>

// The messages the assertions report with.
static const char FOUND_MSG[] =
    "\nError en el valor de retorno de <indexOf> si los parametros son correctos y \nel elemento "
    "esta contenido se debe retornar la posicion del elemento\n";
static const char NOT_FOUND_MSG[] =
    "\nError en el valor de retorno de <indexOf> si los parametros son correctos y \nel elemento "
    "NO esta contenido se debe retornar -1\n";
static const char NULL_LIST_MSG[] =
    "\nError en el valor de retorno de <indexOf> si la lista pasada "
    "es NULL\n el valor a retornar es (-1)\n";

void positionProbeSetup() {
    utest_print("Setup...\r\n");
}

// A null element is found at its index; an address no element has is not found.
void positionProbeCase01() {
    LinkedList* list = ll_newLinkedList();
    ll_add(list, nullptr);
    int r = ll_indexOf(list, nullptr);
    utest_assertEqualsIntMsg(r, 0, FOUND_MSG);
    // The address 1, which no element has and nothing lives at: a list must only compare it, and
    // one that reads through its elements crashes here instead of passing.
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the probe is this very address.
    void* p = reinterpret_cast<void*>(std::uintptr_t{1});
    r = ll_indexOf(list, p);
    utest_assertEqualsIntMsg(r, -1, NOT_FOUND_MSG);
}

// A null list answers -1.
void positionProbeCase02() {
    int r = ll_indexOf(nullptr, nullptr);
    utest_assertEqualsIntMsg(r, -1, NULL_LIST_MSG);
}
