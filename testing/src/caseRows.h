// Table-driven checks for the extended case groups: each row is a call, written out, with what it
// gave and what it must give. Rows are built in a braced list, whose elements C++ evaluates in
// order, so that the calls run in the order they are written.
#ifndef CASEROWS_H
#define CASEROWS_H

#include "utest.h"

#include <cstdio>

namespace caseRows {

struct Row {
    const char* call; // the call as the report shows it
    long got;
    long want;
    // The list calls made once got was read: the row's own call, if it made one, is the last.
    unsigned callsMade = utest_listCallsMade();
};

// A pointer as a row's number: rows compare elements and nodes by identity.
inline long id(const void* pointer) {
    return static_cast<long>(reinterpret_cast<unsigned long>(pointer));
}

// The index of the first row that got what it should not, or -1; msg says which call it was,
// and the runner is told which list call gave the wrong value, when the row made one (a row
// reading a field or a count makes none; the first row is taken to).
template <size_t N> int firstWrong(const Row (&rows)[N], char* msg, size_t size) {
    for (size_t i = 0; i < N; i++) {
        if (rows[i].got != rows[i].want) {
            if (i == 0 || rows[i].callsMade != rows[i - 1].callsMade) {
                utest_blameCall(rows[i].callsMade);
            }
            snprintf(msg, size, "\nError en el resultado de %s (fila %zu de la tabla)\n",
                     rows[i].call, i);
            return static_cast<int>(i);
        }
    }
    snprintf(msg, size, "\n");
    return -1;
}

} // namespace caseRows

#endif
