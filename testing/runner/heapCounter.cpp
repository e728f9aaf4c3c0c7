// The heap counter: a fixed table of the blocks allocated while counting, keyed by address.
// Nothing here allocates: the wrappers run inside every allocation.
#include "heapCounter.h"

#include <pthread.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

namespace {

// Room for this many blocks held at once; beyond it the count gives up (HeapCount::complete).
constexpr size_t kSlots = size_t{1} << 16;
constexpr size_t kMostHeld = kSlots - kSlots / 8;

struct Block {
    void* address; // nullptr: a free slot
    size_t size;
};

Block table[kSlots];
size_t held = 0;
size_t heldBytes = 0;
bool counting = false;
bool overflowed = false;

size_t slotOf(const void* address) {
    // Blocks are at least 16-byte aligned: the low bits say nothing.
    const auto bits = reinterpret_cast<uintptr_t>(address) >> 4;
    return (bits * 0x9E3779B97F4A7C15ull) >> 48 & (kSlots - 1);
}

void follow(void* address, size_t size) {
    if (!counting || address == nullptr) {
        return;
    }
    if (held == kMostHeld) {
        overflowed = true;
        return;
    }
    size_t slot = slotOf(address);
    while (table[slot].address != nullptr) {
        slot = (slot + 1) & (kSlots - 1);
    }
    table[slot] = {address, size};
    held++;
    heldBytes += size;
}

// Forgets a freed block; a block allocated before the count, or by the runtimes, is not in the
// table and is ignored. The slots after it move up so that every lookup still finds its block.
void forget(void* address) {
    if (!counting || address == nullptr || held == 0) {
        return;
    }
    size_t slot = slotOf(address);
    while (table[slot].address != address) {
        if (table[slot].address == nullptr) {
            return;
        }
        slot = (slot + 1) & (kSlots - 1);
    }
    held--;
    heldBytes -= table[slot].size;
    table[slot] = {};
    for (size_t next = (slot + 1) & (kSlots - 1); table[next].address != nullptr;
         next = (next + 1) & (kSlots - 1)) {
        const size_t home = slotOf(table[next].address);
        // The entry may fill the hole when its home is not within the cyclic range (slot, next].
        const bool homeInRange =
            slot <= next ? (slot < home && home <= next) : (slot < home || home <= next);
        if (!homeInRange) {
            table[slot] = table[next];
            table[next] = {};
            slot = next;
        }
    }
}

void stopInChild() {
    counting = false;
}

} // namespace

void startHeapCount() {
    static const bool forkHandler = [] {
        pthread_atfork(nullptr, nullptr, stopInChild);
        return true;
    }();
    (void)forkHandler;
    if (held != 0) {
        memset(table, 0, sizeof table);
    }
    held = 0;
    heldBytes = 0;
    overflowed = false;
    counting = true;
}

HeapCount stopHeapCount() {
    counting = false;
    return {!overflowed, static_cast<long>(held), static_cast<long>(heldBytes)};
}

// The linker fixes these names: __wrap_<name> receives the calls to <name> and __real_<name> is
// the runtime's own function. The operators appear by their mangled names.
// NOLINTBEGIN(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)
extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* address, size_t size);
void __real_free(void* address);
void* __real__Znwm(size_t size);
void* __real__Znam(size_t size);
void* __real__ZnwmRKSt9nothrow_t(size_t size, const std::nothrow_t& tag);
void* __real__ZnamRKSt9nothrow_t(size_t size, const std::nothrow_t& tag);
void __real__ZdlPv(void* address);
void __real__ZdaPv(void* address);
void __real__ZdlPvm(void* address, size_t size);
void __real__ZdaPvm(void* address, size_t size);
void __real__ZdlPvRKSt9nothrow_t(void* address, const std::nothrow_t& tag);
void __real__ZdaPvRKSt9nothrow_t(void* address, const std::nothrow_t& tag);

void* __wrap_malloc(size_t size) {
    void* address = __real_malloc(size);
    follow(address, size);
    return address;
}

void* __wrap_calloc(size_t count, size_t size) {
    void* address = __real_calloc(count, size);
    follow(address, count * size);
    return address;
}

// A failed realloc keeps the old block; a successful one may have moved it, and realloc to 0
// frees it.
void* __wrap_realloc(void* address, size_t size) {
    void* moved = __real_realloc(address, size);
    if (moved != nullptr || size == 0) {
        forget(address);
        follow(moved, size);
    }
    return moved;
}

void __wrap_free(void* address) {
    forget(address);
    __real_free(address);
}

void* __wrap__Znwm(size_t size) {
    void* address = __real__Znwm(size);
    follow(address, size);
    return address;
}

void* __wrap__Znam(size_t size) {
    void* address = __real__Znam(size);
    follow(address, size);
    return address;
}

void* __wrap__ZnwmRKSt9nothrow_t(size_t size, const std::nothrow_t& tag) {
    void* address = __real__ZnwmRKSt9nothrow_t(size, tag);
    follow(address, size);
    return address;
}

void* __wrap__ZnamRKSt9nothrow_t(size_t size, const std::nothrow_t& tag) {
    void* address = __real__ZnamRKSt9nothrow_t(size, tag);
    follow(address, size);
    return address;
}

void __wrap__ZdlPv(void* address) {
    forget(address);
    __real__ZdlPv(address);
}

void __wrap__ZdaPv(void* address) {
    forget(address);
    __real__ZdaPv(address);
}

void __wrap__ZdlPvm(void* address, size_t size) {
    forget(address);
    __real__ZdlPvm(address, size);
}

void __wrap__ZdaPvm(void* address, size_t size) {
    forget(address);
    __real__ZdaPvm(address, size);
}

void __wrap__ZdlPvRKSt9nothrow_t(void* address, const std::nothrow_t& tag) {
    forget(address);
    __real__ZdlPvRKSt9nothrow_t(address, tag);
}

void __wrap__ZdaPvRKSt9nothrow_t(void* address, const std::nothrow_t& tag) {
    forget(address);
    __real__ZdaPvRKSt9nothrow_t(address, tag);
}
}
// NOLINTEND(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp)
