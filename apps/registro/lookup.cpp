#include "lookup.h"

#include "employeeFields.h"
#include "utf8Scope.h"

#include <cstdio>
#include <cwchar>
#include <cwctype>

namespace {

// text in wide characters in lower case, into lower; false for text that is not UTF-8. Runs
// under a Utf8Scope.
bool toLowerWide(std::string_view text, std::wstring& lower) {
    std::mbstate_t state{};
    for (size_t at = 0; at < text.size();) {
        wchar_t character = 0;
        const size_t length = std::mbrtowc(&character, text.data() + at, text.size() - at, &state);
        // 0 is a NUL byte; (size_t)-1 and -2 an invalid or unfinished sequence.
        if (length == 0 || length > text.size() - at) {
            return false;
        }
        lower.push_back(static_cast<wchar_t>(std::towlower(static_cast<wint_t>(character))));
        at += length;
    }
    return true;
}

} // namespace

std::string summary(const Employee& employee) {
    char text[256];
    std::snprintf(text, sizeof text, "Empleado %d: %s %s, salario %.2f, sector %d.", employee.id,
                  employee.name, employee.lastName, static_cast<double>(employee.salary),
                  employee.sector);
    return text;
}

bool lastNameHolds(std::string_view lastName, std::string_view part) {
    const Utf8Scope utf8;
    std::wstring name;
    std::wstring wanted;
    return toLowerWide(lastName, name) && toLowerWide(part, wanted) &&
           name.find(wanted) != std::wstring::npos;
}

void showEmployees(const Register& reg, std::string_view part) {
    part = trimBlanks(part);
    bool shown = false;
    for (const Employee& employee : reg.table) {
        if (isOccupied(employee) && lastNameHolds(employee.lastName, part)) {
            std::puts(summary(employee).c_str());
            shown = true;
        }
    }
    if (!shown) {
        std::printf("Ningún apellido contiene \"%.*s\".\n", static_cast<int>(part.size()),
                    part.data());
    }
}
