#include "registerFile.h"

#include "AtomicFile.h"
#include "Diagnostic.h"
#include "File.h"
#include "LineReader.h"
#include "RecordLines.h"
#include "employeeFields.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Far more than an employee's line can need (about 140 bytes), little enough to show a file that
// is no register for what it is.
constexpr size_t LONGEST_LINE = 4096;
// Reads one name field; what is wrong with it, or nothing. A name too long to keep is wrong
// here: cutting it would change the file's employee behind the user's back.
std::string nameFault(std::string_view text, char (&field)[NAME_LENGTH + 1], const char* what) {
    switch (readName(text, field)) {
    case NameCheck::ok:
        return {};
    case NameCheck::cut:
        return std::string(what) + " tiene más de " + std::to_string(NAME_LENGTH) + " bytes";
    default:
        return std::string(what) + " debe tener " + NAME_RULE;
    }
}

// Reads an employee's line, in the file's format, into employee; what is wrong with it, or nothing.
std::string readEmployee(std::string_view line, RegisterFormat& format, Employee& employee) {
    std::vector<QuotedField> fields;
    if (std::string fault = splitEmployeeLine(line, format, fields); !fault.empty()) {
        return fault;
    }
    if (!readWholeNumber(fields[0].text, employee.id)) {
        return std::string("el id debe ser ") + WHOLE_NUMBER_RULE;
    }
    std::string fault = nameFault(fields[1].text, employee.name, "el nombre");
    if (fault.empty()) {
        fault = nameFault(fields[2].text, employee.lastName, "el apellido");
    }
    if (!fault.empty()) {
        return fault;
    }
    if (!readSalary(fields[3].text, employee.salary)) {
        return std::string("el salario debe ser ") + SALARY_RULE;
    }
    noteDecimalMark(fields[3].text, format);
    if (!readWholeNumber(fields[4].text, employee.sector)) {
        return std::string("el sector debe ser ") + WHOLE_NUMBER_RULE;
    }
    return {};
}

// Adds the employee of the line numbered number to reg's table; false, having printed where and
// why, when the line is no employee, repeats an id or finds the table full. lineOfSlot keeps the
// line each slot was read from, to name it when an id comes again.
bool addLoaded(Register& reg, std::string_view line, long number,
               std::array<long, EMPLOYEES>& lineOfSlot) {
    if (isEmptyRow(line, reg.format)) {
        return true;
    }
    if (reg.occupied == EMPLOYEES) {
        reportLine(reg.path, number, "hay más de " + std::to_string(EMPLOYEES) + " empleados");
        return false;
    }
    Employee employee{};
    std::string fault = readEmployee(line, reg.format, employee);
    if (const int earlier = findEmployeeById(reg.table, EMPLOYEES, employee.id);
        fault.empty() && earlier >= 0) {
        fault = "el id " + std::to_string(employee.id) + " ya está en la línea " +
                std::to_string(lineOfSlot[static_cast<size_t>(earlier)]);
    }
    if (!fault.empty()) {
        reportLine(reg.path, number, fault);
        return false;
    }
    // A fresh table fills its slots in order: this employee takes slot reg.occupied.
    addEmployee(reg.table, EMPLOYEES, employee.id, employee.name, employee.lastName,
                employee.salary, employee.sector);
    lineOfSlot[static_cast<size_t>(reg.occupied++)] = number;
    reg.highestId = std::max(reg.highestId, employee.id);
    return true;
}

} // namespace

bool loadRegister(Register& reg) {
    initEmployees(reg.table, EMPLOYEES);
    reg.occupied = 0;
    reg.highestId = 0;
    reg.unsaved = false;
    reg.format = RegisterFormat{};
    const File file(std::fopen(reg.path, "r"));
    if (!file) {
        if (errno == ENOENT) {
            return true;
        }
        reportSystemError(reg.path, "no se pudo abrir", errno);
        return false;
    }
    LineReader reader(file.get(), LONGEST_LINE);
    std::array<long, EMPLOYEES> lineOfSlot{};
    const auto onHeader = [&](std::string_view line, long number) {
        if (readHeader(line, reader.endedInCrLf(), reg.format)) {
            return true;
        }
        reportLine(reg.path, number, headerRule());
        return false;
    };
    return readHeadedLines(reg.path, reader, onHeader, [&](std::string_view line, long number) {
        return addLoaded(reg, line, number, lineOfSlot);
    });
}

bool saveRegister(const Register& reg) {
    AtomicFile file;
    if (!file.open(reg.path)) {
        return false;
    }
    std::FILE* out = file.stream();
    std::fputs(headerLine(reg.format).c_str(), out);
    for (const Employee& employee : reg.table) {
        if (isOccupied(employee)) {
            std::fputs(employeeLine(reg.format, employee).c_str(), out);
        }
    }
    return file.commit();
}
