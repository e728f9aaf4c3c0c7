#ifndef HEAP_COUNTER_H
#define HEAP_COUNTER_H

// Counts the heap blocks that code allocates and does not free, through link-time wrappers of
// malloc, calloc, realloc, free and the C++ operators new and delete: only calls made from the
// runner's own link are seen, not the C and C++ runtimes' inner ones.

struct HeapCount {
    bool complete; // false when there were too many blocks at once to follow
    long blocks;   // blocks allocated since the count started and not freed
    long bytes;
    long foreignFrees; // frees, outside any list call, of addresses no counted block starts at
    const char* foreignAfter; // the list call made last before the first of them; "" for none
};

// The blocks still held, grouped by the text of the list call they were allocated in (the empty
// text for those allocated outside any list call), groups in the order of their earliest call.
struct HeldBlocks {
    char call[96];
    long blocks;
    long bytes;
};

// Starts following every block allocated from now on; those of an earlier count are no longer
// counted (but a free of one is still known for what it is).
void startHeapCount();

// Stops following blocks; what was allocated since startHeapCount() and is still held. A
// process forked while counting does not count.
//
// While counting, a free() made outside any list call of an address that no block allocated
// since the count starts at is not passed on: it is counted in foreignFrees. Such an address is
// part of a larger block, or not from the heap at all, and the C library would abort on it.
HeapCount stopHeapCount();

// A list call starts or ends (the outermost one; call is its text, which lives until the call
// ends): the blocks allocated meanwhile are the call's.
void heapEnterCall(const char* call);
void heapLeaveCall();

// Fills groups with the blocks still held when counting stopped, at most count groups; returns
// how many groups there are in all.
unsigned heldBlocks(HeldBlocks* groups, unsigned count);

#endif
