#include "Parser.h"

#include "Diagnostic.h"
#include "Empleado.h"
#include "Fields.h"
#include "File.h"
#include "LineReader.h"
#include "RecordLines.h"
#include "controlBytes.h"
#include "recordStore.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

// What is wrong with a payroll line: the reason, naming the field, and the text to quote.
struct Fault {
    const char* reason = nullptr; // nullptr: nothing is wrong
    std::string_view text;
};

constexpr IntegerRefusals ID_REFUSALS = integerRefusals("el id");
constexpr IntegerRefusals HORAS = integerRefusals("las horas trabajadas", true);

// "el nombre tiene más de NOMBRE_LENGTH bytes", its figure written out when compiling: it follows
// the record's field, and a Fault points at it as at its other reasons. A text too long for the
// array does not compile.
constexpr auto NOMBRE_TOO_LONG = [] {
    static_assert(NOMBRE_LENGTH > 0);
    constexpr std::string_view before = "el nombre tiene más de ";
    constexpr std::string_view after = " bytes";
    std::array<char, 48> text{};
    size_t at = 0;
    for (const char c : before) {
        text[at++] = c;
    }
    std::array<char, 10> digits{}; // last first
    size_t count = 0;
    for (int rest = NOMBRE_LENGTH; rest > 0; rest /= 10) {
        digits[count++] = static_cast<char>('0' + rest % 10);
    }
    while (count > 0) {
        text[at++] = digits[--count];
    }
    for (const char c : after) {
        text[at++] = c;
    }
    text[at] = '\0'; // its end too must fit
    return text;
}();

// Fills record from one line "id,nombre,horasTrabajadas" without its line end; what is wrong with
// the line when it is malformed, the fields checked in their order.
Fault parseEmpleado(std::string_view line, Empleado& record) {
    std::array<std::string_view, 3> fields;
    const size_t count = splitAtCommas(line, fields);
    if (count == 1) {
        return {"faltan el nombre y las horas trabajadas", line};
    }
    if (count == 2) {
        return {"faltan las horas trabajadas", line};
    }
    const std::string_view idText = fields[0];
    const std::string_view nombre = fields[1];
    const std::string_view horasText = fields[2];
    // Asked only once a field failed: a comma too many shifts the fields behind it.
    const auto tooManyFields = [&] { return horasText.find(',') != std::string_view::npos; };
    const Fault commaTooMany{"la línea tiene más de tres campos (el nombre no puede llevar comas)",
                             line};
    if (const char* refusal = readInt32(idText, record.id, ID_REFUSALS)) {
        return {refusal, idText};
    }
    if (nombre.empty()) {
        return tooManyFields() ? commaTooMany : Fault{"el nombre está vacío", line};
    }
    if (nombre.size() > NOMBRE_LENGTH) {
        return {NOMBRE_TOO_LONG.data(), nombre};
    }
    if (hasControlCharacter(nombre)) {
        return {"el nombre tiene un carácter de control", nombre};
    }
    if (const char* refusal = readInt32(horasText, record.horasTrabajadas, HORAS)) {
        return tooManyFields() ? commaTooMany : Fault{refusal, horasText};
    }
    std::memcpy(record.nombre, nombre.data(), nombre.size());
    record.nombre[nombre.size()] = '\0';
    record.sueldo = 0;
    return {};
}

// The payroll's first line. A file that starts otherwise is not a payroll (or its line ends are
// not ones we split on): taking its first line for the header would drop data without a word.
constexpr std::string_view HEADER = "id,nombre,horasTrabajadas";

// Reads every employee of the payroll file, named path, into store (see readRecordLines); false,
// having printed where and why, on a missing header, a malformed line, a read error or a lack of
// memory.
bool readEmpleados(const char* path, std::FILE* file, RecordStore& store) {
    LineReader reader(file);
    return readRecordLines(path, reader, HEADER, [&](std::string_view line, long number) {
        Empleado* record = store.next();
        if (record == nullptr) {
            reportFile(path, "memoria insuficiente");
            return false;
        }
        const Fault fault = parseEmpleado(line, *record);
        if (fault.reason != nullptr) {
            store.dropLast();
            reportLine(path, number, fault.reason, fault.text);
            return false;
        }
        return true;
    });
}

// Appends every record of store to list; on failure takes back what it appended, so the list
// holds what it held before.
bool appendAll(const RecordStore& store, LinkedList* list) {
    const int before = ll_len(list);
    if (before < 0) {
        return false;
    }
    const bool appended =
        store.forEach([&](Empleado* record) { return ll_add(list, record) == 0; });
    if (!appended) {
        // The length is read once: ll_len makes the list forget its place, and each pop at the
        // old length would walk the old elements again.
        for (int extra = ll_len(list) - before; extra > 0; --extra) {
            ll_pop(list, before);
        }
    }
    return appended;
}

} // namespace

int parser_parseEmpleados(char* path, LinkedList* pArrayListEmployee) {
    if (path == nullptr || pArrayListEmployee == nullptr) {
        return 0;
    }
    const File file(std::fopen(path, "r"));
    if (!file) {
        reportSystemError(path, "no se pudo abrir", errno);
        return 0;
    }
    // The whole file is checked before the list sees any of it: a bad last line costs no undoing.
    RecordStore store;
    if (!readEmpleados(path, file.get(), store)) {
        return 0;
    }
    if (!appendAll(store, pArrayListEmployee)) {
        reportFile(path, "memoria insuficiente");
        return 0;
    }
    store.keep();
    return 1;
}
