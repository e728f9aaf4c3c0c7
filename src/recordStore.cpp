#include "recordStore.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace {

// Blocks double from 64 KiB up to 8 MiB; from 2 MiB on they are aligned to 2 MiB and offered for
// huge pages, so that the kernel can hand out a large payroll's memory 2 MiB at a time. Every
// block is filled in (populated) as it is mapped.
constexpr size_t FIRST_BLOCK_BYTES = size_t{64} * 1024;
constexpr size_t LARGEST_BLOCK_BYTES = size_t{8} * 1024 * 1024;
constexpr size_t HUGE_PAGE_BYTES = size_t{2} * 1024 * 1024;

// Maps bytes (a multiple of 64 KiB, of 2 MiB from 2 MiB on) of zeroed memory, populated where the
// kernel can; nullptr when memory runs out.
void* mapBlock(size_t bytes) {
    const bool huge = bytes >= HUGE_PAGE_BYTES;
    // A huge block is cut out of a mapping one huge page longer, at a 2 MiB boundary.
    const size_t reserved = huge ? bytes + HUGE_PAGE_BYTES : bytes;
    void* mapped =
        mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        return nullptr;
    }
    char* block = static_cast<char*>(mapped);
    if (huge) {
        const auto address = reinterpret_cast<uintptr_t>(mapped);
        const size_t head = (HUGE_PAGE_BYTES - address % HUGE_PAGE_BYTES) % HUGE_PAGE_BYTES;
        block += head;
        if (head > 0) {
            munmap(mapped, head);
        }
        munmap(block + bytes, HUGE_PAGE_BYTES - head);
        madvise(block, bytes, MADV_HUGEPAGE);
    }
    // Best effort: where the kernel cannot populate, pages still come on first touch.
    madvise(block, bytes, MADV_POPULATE_WRITE);
    return block;
}

} // namespace

RecordStore::~RecordStore() {
    if (kept_) {
        return;
    }
    for (const Block& block : blocks_) {
        munmap(block.records, block.bytes);
    }
}

Empleado* RecordStore::next() {
    if (blocks_.empty() || blocks_.back().used == blocks_.back().capacity) {
        if (!grow()) {
            return nullptr;
        }
    }
    Block& block = blocks_.back();
    return &block.records[block.used++];
}

bool RecordStore::grow() {
    const size_t bytes = blocks_.empty() ? FIRST_BLOCK_BYTES
                                         : std::min(blocks_.back().bytes * 2, LARGEST_BLOCK_BYTES);
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
