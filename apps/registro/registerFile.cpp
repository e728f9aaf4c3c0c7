#include "registerFile.h"

#include "AtomicFile.h"
#include "File.h"
#include "LineReader.h"
#include "fields.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr int kFields = 5;
// Far more than an employee's line can need (about 140 bytes), little enough to show a file that
// is no register for what it is.
constexpr size_t kLongestLine = 4096;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Prints the one line that refuses the file.
void refuse(const char* path, long line, const std::string& reason) {
    if (line > 0) {
        std::printf("%s:%ld: %s\n", path, line, reason.c_str());
    } else {
        std::printf("%s: %s\n", path, reason.c_str());
    }
}

bool isBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// Cuts line at its commas into fields; false unless there are exactly kFields.
bool splitFields(std::string_view line, std::array<std::string_view, kFields>& fields) {
    size_t count = 0;
    for (;;) {
        const size_t comma = line.find(',');
        if (count == fields.size()) {
            return false;
        }
        fields[count++] = line.substr(0, comma);
        if (comma == std::string_view::npos) {
            return count == fields.size();
        }
        line.remove_prefix(comma + 1);
    }
}

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

// Reads an employee's line into employee; what is wrong with it, or nothing.
std::string readEmployee(std::string_view line, Employee& employee) {
    std::array<std::string_view, kFields> fields;
    if (!splitFields(line, fields)) {
        return std::string("se esperan 5 campos: ") + REGISTER_HEADER;
    }
    if (!readWholeNumber(fields[0], employee.id)) {
        return std::string("el id debe ser ") + WHOLE_NUMBER_RULE;
    }
    std::string fault = nameFault(fields[1], employee.name, "el nombre");
    if (fault.empty()) {
        fault = nameFault(fields[2], employee.lastName, "el apellido");
    }
    if (!fault.empty()) {
        return fault;
    }
    if (!readSalary(fields[3], employee.salary)) {
        return std::string("el salario debe ser ") + SALARY_RULE;
    }
    if (!readWholeNumber(fields[4], employee.sector)) {
        return std::string("el sector debe ser ") + WHOLE_NUMBER_RULE;
    }
    return {};
}

// Why the reading stopped short of the file's end.
std::string readingFault(LineReader::Status status, const LineReader& reader) {
    switch (status) {
    case LineReader::Status::tooLong:
        return "la línea es demasiado larga";
    case LineReader::Status::noMemory:
        return "memoria insuficiente";
    default:
        return std::string("no se pudo leer el archivo (") + std::strerror(reader.error()) + ")";
    }
}

} // namespace

bool loadRegister(Register& reg) {
    initEmployees(reg.table, EMPLOYEES);
    reg.employees = 0;
    reg.highestId = 0;
    reg.unsaved = false;
    const File file(std::fopen(reg.path, "r"));
    if (!file) {
        if (errno == ENOENT) {
            return true;
        }
        refuse(reg.path, 0,
               std::string("no se pudo abrir el archivo (") + std::strerror(errno) + ")");
        return false;
    }
    LineReader reader(file.get(), kLongestLine);
    std::array<long, EMPLOYEES> lineOfSlot{};
    bool afterHeader = false;
    std::string_view line;
    LineReader::Status status = LineReader::Status::line;
    while ((status = reader.next(line)) == LineReader::Status::line) {
        if (!afterHeader) {
            if (line.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
                line.remove_prefix(kByteOrderMark.size());
            }
            if (line != REGISTER_HEADER) {
                refuse(reg.path, reader.number(),
                       std::string("la primera línea debe ser ") + REGISTER_HEADER);
                return false;
            }
            afterHeader = true;
            continue;
        }
        if (isBlank(line)) {
            continue;
        }
        if (reg.employees == EMPLOYEES) {
            refuse(reg.path, reader.number(),
                   "hay más de " + std::to_string(EMPLOYEES) + " empleados");
            return false;
        }
        Employee employee{};
        std::string fault = readEmployee(line, employee);
        if (const int earlier = findEmployeeById(reg.table, EMPLOYEES, employee.id);
            fault.empty() && earlier >= 0) {
            fault = "el id " + std::to_string(employee.id) + " ya está en la línea " +
                    std::to_string(lineOfSlot[static_cast<size_t>(earlier)]);
        }
        if (!fault.empty()) {
            refuse(reg.path, reader.number(), fault);
            return false;
        }
        // A fresh table fills its slots in order: this employee takes slot reg.employees.
        addEmployee(reg.table, EMPLOYEES, employee.id, employee.name, employee.lastName,
                    employee.salary, employee.sector);
        lineOfSlot[static_cast<size_t>(reg.employees++)] = reader.number();
        reg.highestId = std::max(reg.highestId, employee.id);
    }
    if (status != LineReader::Status::end) {
        refuse(reg.path, reader.number(), readingFault(status, reader));
        return false;
    }
    return true;
}

bool saveRegister(const Register& reg) {
    AtomicFile file;
    if (!file.open(reg.path)) {
        return false;
    }
    std::FILE* out = file.stream();
    std::fprintf(out, "%s\n", REGISTER_HEADER);
    for (const Employee& employee : reg.table) {
        if (employee.isEmpty == 1) {
            std::fprintf(out, "%d,%s,%s,%.2f,%d\n", employee.id, employee.name, employee.lastName,
                         static_cast<double>(employee.salary), employee.sector);
        }
    }
    return file.commit();
}
