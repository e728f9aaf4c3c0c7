#ifndef REGISTRO_REGISTERFILE_H
#define REGISTRO_REGISTERFILE_H

// The register kept in a file: UTF-8 text, a header line, then one employee a line in table order.
// A new register is written as REGISTER_HEADER and lines such as "7,Eva,Luna,1234.50,3", with LF
// line ends and no quotes; a loaded file is written back in its own form (see registerFormat.h),
// such as a spreadsheet writes it. Loading skips blank lines and empty rows (";;;;").

#include "registerFormat.h"
#include "staffTable.h"

// The employee table of a session and what the session keeps about it.
struct Register {
    const char* path = nullptr;
    Employee table[EMPLOYEES]{};
    int occupied = 0;     // how many slots hold an employee
    int highestId = 0;    // the highest id loaded or given: new ids go on from the next one
    bool unsaved = false; // a change is in the table that did not reach the file
    // The file's form, kept by every save.
    RegisterFormat format;
};

// Reads the file at reg.path into reg's table with the table's operations; a missing file is an
// empty register. False, having printed the one line "FILE:LINE: reason" (or "FILE: reason"
// when the file cannot be opened), when the file cannot be read as a register: a line that is no
// employee, a repeated id, more than EMPLOYEES employees. The file is only read.
bool loadRegister(Register& reg);

// Replaces the file at reg.path with the table's employees in one step (see AtomicFile). False,
// with errno set, when it could not: the old file is then as it was.
bool saveRegister(const Register& reg);

#endif
