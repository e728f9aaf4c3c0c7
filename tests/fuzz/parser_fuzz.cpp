// Fuzzes the payroll parser on arbitrary file contents: it answers 1 or 0; on 0 the list it was
// given is exactly as it was, on 1 the list gained one well-formed record a line behind what it
// held, whose name has no control character.
#include "Empleado.h"
#include "LinkedList.h"
#include "Parser.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

char payrollPath[] = "/tmp/parser_fuzz.XXXXXX";
int held[2];

void require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// The elements the list chains, in order.
std::vector<void*> elementsOf(const LinkedList* list) {
    std::vector<void*> elements;
    for (const Node* node = list->pFirstNode; node != nullptr; node = node->pNextNode) {
        elements.push_back(node->pElement);
    }
    return elements;
}

// A record as the parser may hand it over: a name of 1 to 127 bytes, without a comma or a control
// character, terminated within its field.
bool wellFormed(const Empleado* empleado) {
    const std::size_t length = strnlen(empleado->nombre, sizeof empleado->nombre);
    for (std::size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(empleado->nombre[i]);
        if (byte < 0x20 || byte == 0x7F || byte == ',') {
            return false;
        }
    }
    return length >= 1 && length <= NOMBRE_LENGTH && empleado->sueldo == 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const int fd = mkstemp(payrollPath);
    require(fd != -1);
    close(fd);
    std::atexit([] { unlink(payrollPath); });
    // The parser says on standard output why it refuses a file: nearly every input.
    require(std::freopen("/dev/null", "w", stdout) != nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(payrollPath, "wb");
    require(file != nullptr);
    require(std::fwrite(data, 1, size, file) == size);
    std::fclose(file);

    LinkedList* list = ll_newLinkedList();
    require(list != nullptr && ll_add(list, &held[0]) == 0 && ll_add(list, &held[1]) == 0);
    const std::vector<void*> before = elementsOf(list);
    const int result = parser_parseEmpleados(payrollPath, list);
    const std::vector<void*> after = elementsOf(list);
    require(result == 0 || result == 1);
    if (result == 0) {
        require(after == before && ll_len(list) == 2);
    } else {
        require(ll_len(list) == static_cast<int>(after.size()) && after.size() >= 2);
        require(after[0] == before[0] && after[1] == before[1]);
        for (std::size_t i = 2; i < after.size(); ++i) {
            require(wellFormed(static_cast<const Empleado*>(after[i])));
        }
    }
    // The records belong to the parser for the rest of the process; only the list goes.
    ll_deleteLinkedList(list);
    return 0;
}
