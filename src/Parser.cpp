#include "Parser.h"

#include "Diagnostic.h"
#include "Empleado.h"
#include "Fields.h"
#include "File.h"
#include "LineReader.h"
#include "RecordLines.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>
#include <sys/mman.h>
#include <vector>

namespace {

// Records live in blocks mapped straight from the kernel: a payroll of a million records is
// 140 MB, and touching that much fresh memory a page at a time costs a trap into the kernel per
// 4 KiB, more than parsing the file does. Blocks double from 64 KiB up to 8 MiB; from 2 MiB on
// they are aligned to 2 MiB and offered for huge pages, so that the kernel can hand out a large
// payroll's memory 2 MiB at a time. Every block is filled in (populated) as it is mapped.
constexpr size_t kFirstBlockBytes = size_t{64} * 1024;
constexpr size_t kLargestBlockBytes = size_t{8} * 1024 * 1024;
constexpr size_t kHugePageBytes = size_t{2} * 1024 * 1024;

// Maps bytes (a multiple of 64 KiB, of 2 MiB from 2 MiB on) of zeroed memory, populated where the
// kernel can; nullptr when memory runs out.
void* mapBlock(size_t bytes) {
    const bool huge = bytes >= kHugePageBytes;
    // A huge block is cut out of a mapping one huge page longer, at a 2 MiB boundary.
    const size_t reserved = huge ? bytes + kHugePageBytes : bytes;
    void* mapped =
        mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        return nullptr;
    }
    char* block = static_cast<char*>(mapped);
    if (huge) {
        const auto address = reinterpret_cast<uintptr_t>(mapped);
        const size_t head = (kHugePageBytes - address % kHugePageBytes) % kHugePageBytes;
        block += head;
        if (head > 0) {
            munmap(mapped, head);
        }
        munmap(block + bytes, kHugePageBytes - head);
        madvise(block, bytes, MADV_HUGEPAGE);
    }
    // Best effort: where the kernel cannot populate, pages still come on first touch.
    madvise(block, bytes, MADV_POPULATE_WRITE);
    return block;
}

class RecordStore {
  public:
    RecordStore() = default;
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;

    // Unmaps every block unless the records were kept.
    ~RecordStore() {
        if (kept_) {
            return;
        }
        for (const Block& block : blocks_) {
            munmap(block.records, block.bytes);
        }
    }

    // A fresh record, or nullptr when memory runs out.
    Empleado* next() {
        if (blocks_.empty() || blocks_.back().used == blocks_.back().capacity) {
            if (!grow()) {
                return nullptr;
            }
        }
        Block& block = blocks_.back();
        return &block.records[block.used++];
    }

    // Gives up the last record handed out by next().
    void dropLast() {
        --blocks_.back().used;
    }

    // Calls fn with each record in the order next() handed them out; stops at the first false.
    template <typename Fn> bool forEach(Fn&& fn) const {
        for (const Block& block : blocks_) {
            for (size_t i = 0; i < block.used; ++i) {
                if (!fn(&block.records[i])) {
                    return false;
                }
            }
        }
        return true;
    }

    // The records now belong to their users for the rest of the process.
    void keep() {
        kept_ = true;
    }

  private:
    struct Block {
        Empleado* records;
        size_t bytes;
        size_t capacity;
        size_t used;
    };

    bool grow() {
        const size_t bytes = blocks_.empty()
                                 ? kFirstBlockBytes
                                 : std::min(blocks_.back().bytes * 2, kLargestBlockBytes);
        void* memory = mapBlock(bytes);
        if (memory == nullptr) {
            return false;
        }
        try {
            blocks_.push_back({static_cast<Empleado*>(memory), bytes, bytes / sizeof(Empleado), 0});
        } catch (const std::bad_alloc&) {
            munmap(memory, bytes);
            return false;
        }
        return true;
    }

    std::vector<Block> blocks_;
    bool kept_ = false;
};

// What is wrong with a payroll line: the reason, naming the field, and the text to quote.
struct Fault {
    const char* reason = nullptr; // nullptr: nothing is wrong
    std::string_view text;
};

// Whether any byte of word is a control character: below 0x20, or 0x7F. Each test is exact for
// the word as a whole (a borrow can mark a byte only above one that matched).
constexpr bool hasControlByte(uint64_t word) {
    constexpr uint64_t kOnes = 0x0101010101010101;
    constexpr uint64_t kHighBits = kOnes * 0x80;
    const uint64_t below = (word - kOnes * 0x20) & ~word & kHighBits;
    const uint64_t del = word ^ (kOnes * 0x7F);
    return (below | ((del - kOnes) & ~del & kHighBits)) != 0;
}

// Whether text holds a byte that is no printable character: a CR, a tab or a NUL inside a name
// would show as something else, or as nothing, wherever the name is printed. Eight bytes at a
// time: on a million short names a byte at a time would cost a tenth of the whole export.
bool hasControlCharacter(std::string_view text) {
    const char* const bytes = text.data();
    const size_t size = text.size();
    uint64_t word = 0;
    if (size >= 8) {
        size_t at = 0;
        for (; at + 8 < size; at += 8) {
            std::memcpy(&word, bytes + at, 8);
            if (hasControlByte(word)) {
                return true;
            }
        }
        // The last eight bytes, overlapping those already seen.
        std::memcpy(&word, bytes + size - 8, 8);
        return hasControlByte(word);
    }
    if (size >= 4) {
        // The first four and the last four, overlapping where fewer than eight.
        uint32_t head = 0;
        uint32_t tail = 0;
        std::memcpy(&head, bytes, 4);
        std::memcpy(&tail, bytes + size - 4, 4);
        return hasControlByte(uint64_t{head} << 32 | tail);
    }
    bool found = false;
    for (size_t at = 0; at < size; ++at) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        found |= byte < 0x20 || byte == 0x7F;
    }
    return found;
}

// The fault of an id or an hours field that parseInt32 did not take.
Fault integerFault(IntegerText found, std::string_view text, const char* notInteger,
                   const char* outOfRange) {
    return {found == IntegerText::notInteger ? notInteger : outOfRange, text};
}

// Fills record from one line "id,nombre,horasTrabajadas" without its line end; what is wrong with
// the line when it is malformed, the fields checked in their order.
Fault parseEmpleado(std::string_view line, Empleado& record) {
    const size_t firstComma = line.find(',');
    if (firstComma == std::string_view::npos) {
        return {"faltan el nombre y las horas trabajadas", line};
    }
    const size_t secondComma = line.find(',', firstComma + 1);
    if (secondComma == std::string_view::npos) {
        return {"faltan las horas trabajadas", line};
    }
    const std::string_view idText = line.substr(0, firstComma);
    const std::string_view nombre = line.substr(firstComma + 1, secondComma - firstComma - 1);
    const std::string_view horasText = line.substr(secondComma + 1);
    // Asked only once a field failed: a comma too many shifts the fields behind it.
    const auto tooManyFields = [&] { return horasText.find(',') != std::string_view::npos; };
    const Fault commaTooMany{"la línea tiene más de tres campos (el nombre no puede llevar comas)",
                             line};
    const IntegerText id = parseInt32(idText, record.id);
    if (id != IntegerText::ok) {
        return integerFault(id, idText, "el id no es un entero",
                            "el id está fuera del rango de -2147483648 a 2147483647");
    }
    if (nombre.empty()) {
        return tooManyFields() ? commaTooMany : Fault{"el nombre está vacío", line};
    }
    if (nombre.size() > NOMBRE_LENGTH) {
        return {"el nombre tiene más de 127 bytes", nombre};
    }
    if (hasControlCharacter(nombre)) {
        return {"el nombre tiene un carácter de control", nombre};
    }
    const IntegerText horas = parseInt32(horasText, record.horasTrabajadas);
    if (horas != IntegerText::ok) {
        return tooManyFields() ? commaTooMany
                               : integerFault(horas, horasText,
                                              "las horas trabajadas no son un entero",
                                              "las horas trabajadas están fuera del rango de "
                                              "-2147483648 a 2147483647");
    }
    std::memcpy(record.nombre, nombre.data(), nombre.size());
    record.nombre[nombre.size()] = '\0';
    record.sueldo = 0;
    return {};
}

// The payroll's first line. A file that starts otherwise is not a payroll (or its line ends are
// not ones we split on): taking its first line for the header would drop data without a word.
constexpr std::string_view kHeader = "id,nombre,horasTrabajadas";

// Reads every employee of the payroll file, named path, into store (see readRecordLines); false,
// having printed where and why, on a missing header, a malformed line, a read error or a lack of
// memory.
bool readEmpleados(const char* path, std::FILE* file, RecordStore& store) {
    LineReader reader(file);
    return readRecordLines(path, reader, kHeader, [&](std::string_view line, long number) {
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
        // Popping at the old length costs a walk over the old elements only.
        while (ll_len(list) > before) {
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
