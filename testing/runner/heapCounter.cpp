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
constexpr size_t SLOTS = size_t{1} << 16;
constexpr size_t MOST_HELD = SLOTS - SLOTS / 8;

// The texts of the list calls that allocated blocks, each copied once, at its first block; past
// ORIGINS calls the blocks share the origin LATER. OUTSIDE marks the blocks allocated outside
// any list call.
constexpr size_t ORIGINS = 512;
constexpr size_t OUTSIDE = ORIGINS;
constexpr size_t LATER = ORIGINS + 1;

struct Block {
    void* address; // nullptr: a free slot
    size_t size;
    size_t origin;
    unsigned count; // the count that allocated it
};

// Blocks of earlier counts stay in the table until freed, so that their free is not taken for
// one of an address nobody handed out; only the current count's are counted.
Block table[SLOTS];
size_t entries = 0;        // blocks in the table, of any count
unsigned currentCount = 0; // the current count
size_t held = 0;           // the current count's blocks, and their bytes
size_t heldBytes = 0;
bool counting = false;
bool overflowed = false;
long foreignFrees = 0;

char originCalls[ORIGINS][sizeof HeldBlocks::call];
size_t origins = 0;
const char* callUnderWay = nullptr;         // the list call under way, or nullptr
const char* callDone = "";                  // the list call that ended last, while its text lives
char foreignAfter[sizeof HeldBlocks::call]; // callDone at the first foreign free
size_t callOrigin = OUTSIDE;                // its origin once it allocated a block

// Copies text into a fixed field, cut to fit; allocates nothing.
void copyText(char (&field)[sizeof HeldBlocks::call], const char* text) {
    size_t i = 0;
    for (; i + 1 < sizeof field && text[i] != '\0'; i++) {
        field[i] = text[i];
    }
    field[i] = '\0';
}

// The origin of a block allocated now: the call under way, its text copied at its first block.
size_t currentOrigin() {
    if (callUnderWay == nullptr) {
        return OUTSIDE;
    }
    if (callOrigin == OUTSIDE) {
        if (origins == ORIGINS) {
            return LATER;
        }
        copyText(originCalls[origins], callUnderWay);
        callOrigin = origins++;
    }
    return callOrigin;
}

size_t slotOf(const void* address) {
    // Blocks are at least 16-byte aligned: the low bits say nothing.
    const auto bits = reinterpret_cast<uintptr_t>(address) >> 4;
    return (bits * 0x9E3779B97F4A7C15ull) >> 48 & (SLOTS - 1);
}

void follow(void* address, size_t size) {
    if (!counting || address == nullptr) {
        return;
    }
    if (entries == MOST_HELD) {
        overflowed = true;
        return;
    }
    size_t slot = slotOf(address);
    while (table[slot].address != nullptr) {
        slot = (slot + 1) & (SLOTS - 1);
    }
    table[slot] = {address, size, currentOrigin(), currentCount};
    entries++;
    held++;
    heldBytes += size;
}

// The slot of a followed block, or SLOTS.
size_t slotHolding(const void* address) {
    size_t slot = slotOf(address);
    while (table[slot].address != address) {
        if (table[slot].address == nullptr) {
            return SLOTS;
        }
        slot = (slot + 1) & (SLOTS - 1);
    }
    return slot;
}

// Forgets a freed block, counting or not, so that the table never holds an address the heap
// may hand out again; a block allocated before any count, or by the runtimes, is not in the
// table and is ignored. The slots after it move up so that every lookup still finds its block.
void forget(void* address) {
    if (address == nullptr || entries == 0) {
        return;
    }
    size_t slot = slotHolding(address);
    if (slot == SLOTS) {
        return;
    }
    if (table[slot].count == currentCount) {
        held--;
        heldBytes -= table[slot].size;
    }
    entries--;
    table[slot] = {};
    for (size_t next = (slot + 1) & (SLOTS - 1); table[next].address != nullptr;
         next = (next + 1) & (SLOTS - 1)) {
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

// True when free() must not have the address: the case (no list call is under way) frees what
// no block of the count starts at. Before the count, beyond the table's room, and inside the
// list's own calls, nothing is judged.
bool isForeign(const void* address) {
    return counting && !overflowed && callUnderWay == nullptr && address != nullptr &&
           slotHolding(address) == SLOTS;
}

const char* originText(size_t origin) {
    if (origin == OUTSIDE) {
        return "";
    }
    return origin == LATER ? "later list calls" : originCalls[origin];
}

} // namespace

void startHeapCount() {
    static const bool forkHandler = [] {
        pthread_atfork(nullptr, nullptr, stopInChild);
        return true;
    }();
    (void)forkHandler;
    currentCount++;
    held = 0;
    heldBytes = 0;
    overflowed = entries == MOST_HELD;
    foreignFrees = 0;
    foreignAfter[0] = '\0';
    origins = 0;
    callUnderWay = nullptr;
    callDone = "";
    counting = true;
}

HeapCount stopHeapCount() {
    counting = false;
    return {!overflowed, static_cast<long>(held), static_cast<long>(heldBytes), foreignFrees,
            foreignAfter};
}

void heapEnterCall(const char* call) {
    callUnderWay = call;
    callOrigin = OUTSIDE;
}

void heapLeaveCall() {
    callDone = callUnderWay;
    callUnderWay = nullptr;
}

unsigned heldBlocks(HeldBlocks* groups, unsigned count) {
    // Blocks and bytes by origin, then origins of the same text merged into the earliest.
    static long blocks[LATER + 1];
    static long bytes[LATER + 1];
    memset(blocks, 0, sizeof blocks);
    memset(bytes, 0, sizeof bytes);
    for (const Block& block : table) {
        if (block.address != nullptr && block.count == currentCount) {
            blocks[block.origin]++;
            bytes[block.origin] += static_cast<long>(block.size);
        }
    }
    unsigned found = 0;
    for (size_t origin = 0; origin <= LATER; origin++) {
        for (size_t earlier = 0; earlier < origin && blocks[origin] > 0 && origin < ORIGINS;
             earlier++) {
            if (blocks[earlier] > 0 && strcmp(originCalls[earlier], originCalls[origin]) == 0) {
                blocks[earlier] += blocks[origin];
                bytes[earlier] += bytes[origin];
                blocks[origin] = 0;
            }
        }
    }
    for (size_t origin = 0; origin <= LATER; origin++) {
        if (blocks[origin] == 0) {
            continue;
        }
        if (found < count) {
            HeldBlocks& group = groups[found];
            copyText(group.call, originText(origin));
            group.blocks = blocks[origin];
            group.bytes = bytes[origin];
        }
        found++;
    }
    return found;
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
    if (isForeign(address)) {
        if (foreignFrees++ == 0) {
            copyText(foreignAfter, callDone);
        }
        return;
    }
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
