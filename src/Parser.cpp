#include "Parser.h"

#include "Empleado.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>
#include <sys/mman.h>
#include <vector>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const {
        std::fclose(file);
    }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Bytes read from the file at a time; also the longest line accepted.
constexpr size_t kReadSize = size_t{256} * 1024;

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

// Reads a decimal 32-bit integer: an optional '-', then digits and nothing else.
bool parseInt(std::string_view text, int& value) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return false;
    }
    const int64_t limit = negative ? -int64_t{INT_MIN} : int64_t{INT_MAX};
    int64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit) {
            return false;
        }
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

// Fills record from one line "id,nombre,horasTrabajadas" without its line end; false when the
// line is malformed (a comma too many fails the hours, which take digits only).
bool parseEmpleado(std::string_view line, Empleado& record) {
    const size_t firstComma = line.find(',');
    if (firstComma == std::string_view::npos) {
        return false;
    }
    const size_t secondComma = line.find(',', firstComma + 1);
    if (secondComma == std::string_view::npos) {
        return false;
    }
    const std::string_view nombre = line.substr(firstComma + 1, secondComma - firstComma - 1);
    // A NUL inside the name would silently cut it short wherever it is printed.
    if (nombre.empty() || nombre.size() > NOMBRE_LENGTH ||
        nombre.find('\0') != std::string_view::npos) {
        return false;
    }
    if (!parseInt(line.substr(0, firstComma), record.id) ||
        !parseInt(line.substr(secondComma + 1), record.horasTrabajadas)) {
        return false;
    }
    std::memcpy(record.nombre, nombre.data(), nombre.size());
    record.nombre[nombre.size()] = '\0';
    record.sueldo = 0;
    return true;
}

// Calls onLine with every line of file, without its '\n', the last one also when it has no line
// end. False on a read error, a line longer than kReadSize or when onLine returns false.
template <typename OnLine> bool forEachLine(std::FILE* file, OnLine&& onLine) {
    const std::unique_ptr<char[]> buffer(new (std::nothrow) char[kReadSize]);
    if (!buffer) {
        return false;
    }
    size_t held = 0; // bytes at the front of the buffer: a line still waiting for its end
    for (;;) {
        const size_t got = std::fread(buffer.get() + held, 1, kReadSize - held, file);
        if (got == 0) {
            if (std::ferror(file)) {
                return false;
            }
            break;
        }
        const char* start = buffer.get();
        const char* const end = start + held + got;
        while (const auto* lineEnd =
                   static_cast<const char*>(std::memchr(start, '\n', end - start))) {
            if (!onLine(std::string_view(start, lineEnd - start))) {
                return false;
            }
            start = lineEnd + 1;
        }
        held = end - start;
        if (held == kReadSize) {
            return false;
        }
        std::memmove(buffer.get(), start, held);
    }
    return held == 0 || onLine(std::string_view(buffer.get(), held));
}

// The payroll's first line. A file that starts otherwise is not a payroll (or its line ends are
// not ones we split on): taking its first line for the header would drop data without a word.
constexpr std::string_view kHeader = "id,nombre,horasTrabajadas";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Whether line holds nothing but blanks and tabs.
bool isBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// Reads every employee of file into store, checking the header line and skipping blank lines;
// false on a missing header, a malformed line, a read error or a lack of memory.
bool readEmpleados(std::FILE* file, RecordStore& store) {
    bool header = true;
    return forEachLine(file, [&](std::string_view line) {
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (header) {
            header = false;
            if (line.starts_with(kByteOrderMark)) {
                line.remove_prefix(kByteOrderMark.size());
            }
            return line == kHeader;
        }
        if (isBlank(line)) {
            return true;
        }
        Empleado* record = store.next();
        if (record == nullptr) {
            return false;
        }
        if (!parseEmpleado(line, *record)) {
            store.dropLast();
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
        return 0;
    }
    // The whole file is checked before the list sees any of it: a bad last line costs no undoing.
    RecordStore store;
    if (!readEmpleados(file.get(), store) || !appendAll(store, pArrayListEmployee)) {
        return 0;
    }
    store.keep();
    return 1;
}
