#ifndef HEAP_COUNTER_H
#define HEAP_COUNTER_H

// Counts the heap blocks that code allocates and does not free, through link-time wrappers of
// malloc, calloc, realloc, free and the C++ operators new and delete: only calls made from the
// runner's own link are seen, not the C and C++ runtimes' inner ones.

struct HeapCount {
    bool complete; // false when there were too many blocks at once to follow
    long blocks;   // blocks allocated since the count started and not freed
    long bytes;
};

// Starts following every block allocated from now on, forgetting those of an earlier count.
void startHeapCount();

// Stops following blocks; what was allocated since startHeapCount() and is still held. A
// process forked while counting does not count.
HeapCount stopHeapCount();

#endif
