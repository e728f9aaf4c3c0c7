// Parts of probeRunner on their own: the heap counter (linked with the runner's wrappers), the
// text it lets into the results, and the words for how a case ended.
#include "caseOutcome.h"
#include "heapCounter.h"
#include "junitReport.h"
#include "safeText.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <new>
#include <random>
#include <vector>

namespace {

// Keeps the compiler from proving an allocation unused and leaving it out.
void keep(void* address) {
    asm volatile("" : : "r"(address) : "memory");
}

TEST(HeapCounter, CountsTheBlocksAllocatedSinceItStartedAndNotFreed) {
    void* earlier = malloc(10);
    keep(earlier);
    startHeapCount();
    void* plain = malloc(16);
    void* zeroed = calloc(4, 8);
    void* grown = realloc(nullptr, 8);
    keep(grown);
    grown = realloc(grown, 100);
    keep(grown);
    void* dropped = realloc(malloc(5), 0);
    int* one = new int(1);
    int* three = new int[3];
    keep(plain);
    keep(zeroed);
    keep(one);
    keep(three);
    keep(dropped);
    free(earlier); // not the count's: ignored
    delete one;
    const HeapCount held = stopHeapCount();
    EXPECT_TRUE(held.complete);
    EXPECT_EQ(held.blocks, 4);
    EXPECT_EQ(held.bytes, 16 + 32 + 100 + 3 * static_cast<long>(sizeof(int)));
    free(plain);
    free(zeroed);
    free(grown);
    free(dropped);
    delete[] three;
}

// What the count holds after a block from each form of operator new, each freed by its delete
// before the count stops when released is true, after it otherwise.
HeapCount countNewAndDelete(bool released) {
    startHeapCount();
    void* blocks[] = {::operator new(8),
                      ::operator new[](16),
                      ::operator new(24, std::nothrow),
                      ::operator new[](32, std::nothrow),
                      ::operator new(40),
                      ::operator new[](48)};
    for (void* block : blocks) {
        keep(block);
    }
    HeapCount held{};
    for (int pass = 0; pass < 2; pass++) {
        if (pass == (released ? 1 : 0)) {
            held = stopHeapCount();
            continue;
        }
        ::operator delete(blocks[0]);
        ::operator delete[](blocks[1]);
        ::operator delete(blocks[2], std::nothrow);
        ::operator delete[](blocks[3], std::nothrow);
#ifdef __cpp_sized_deallocation // clang 14 leaves the sized forms out unless asked
        ::operator delete(blocks[4], 40);
        ::operator delete[](blocks[5], 48);
#else
        ::operator delete(blocks[4]);
        ::operator delete[](blocks[5]);
#endif
    }
    return held;
}

TEST(HeapCounter, SeesEveryFormOfNewAndDelete) {
    const HeapCount held = countNewAndDelete(false);
    EXPECT_EQ(held.blocks, 6);
    EXPECT_EQ(held.bytes, 8 + 16 + 24 + 32 + 40 + 48);
    EXPECT_EQ(countNewAndDelete(true).blocks, 0);
}

TEST(HeapCounter, FollowsThousandsOfBlocksFreedInAnyOrder) {
    constexpr size_t kBlocks = 20000;
    std::vector<void*> blocks(kBlocks);
    std::vector<size_t> order(kBlocks);
    for (size_t i = 0; i < kBlocks; i++) {
        order[i] = i;
    }
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    startHeapCount();
    long bytes = 0;
    for (size_t i = 0; i < kBlocks; i++) {
        blocks[i] = malloc(i % 64 + 1);
        bytes += static_cast<long>(i % 64 + 1);
    }
    for (size_t i = 0; i < kBlocks / 2; i++) {
        bytes -= static_cast<long>(order[i] % 64 + 1);
        free(blocks[order[i]]);
    }
    const HeapCount half = stopHeapCount();
    EXPECT_EQ(half.blocks, static_cast<long>(kBlocks / 2));
    EXPECT_EQ(half.bytes, bytes);
    startHeapCount();
    for (size_t i = kBlocks / 2; i < kBlocks; i++) {
        free(blocks[order[i]]);
    }
    EXPECT_EQ(stopHeapCount().blocks, 0); // freed, but allocated before this count
}

TEST(HeapCounter, SaysSoWhenThereAreTooManyBlocksToFollow) {
    std::vector<void*> blocks(70000);
    startHeapCount();
    for (void*& block : blocks) {
        block = malloc(1);
    }
    const HeapCount held = stopHeapCount();
    EXPECT_FALSE(held.complete);
    for (void* block : blocks) {
        free(block);
    }
    startHeapCount();
    free(malloc(1));
    EXPECT_EQ(stopHeapCount().complete, true);
}

TEST(SafeText, KeepsUtf8AndPrintableCharactersOnly) {
    EXPECT_EQ(printable("año 2\xe2\x82\xac \xf0\x9f\x98\x80\tfin"),
              "año 2\xe2\x82\xac \xf0\x9f\x98\x80\tfin");
    EXPECT_EQ(printable("\x01\x1b[2J\x7f"), "??[2J?");
    // A stray continuation, a cut sequence, an overlong form, a surrogate, past U+10FFFF.
    EXPECT_EQ(printable("\x80|\xc3|\xc0\x80|\xed\xa0\x80|\xf4\x90\x80\x80|\xe2\x82"),
              "?|?|??|???|????|??");
}

TEST(SafeText, EscapesWhatXmlReserves) {
    EXPECT_EQ(escapeXml("a<b>&\"c\"\r\n\t\x02\xff ñ"), "a&lt;b&gt;&amp;&quot;c&quot;&#13;\n\t?? ñ");
}

TEST(CaseOutcome, SaysWhyACaseFailedWithTheCallItFailedIn) {
    Outcome outcome;
    EXPECT_EQ(describeFailure(outcome, 5), "");
    outcome.ending = Ending::signal;
    outcome.detail = SIGABRT;
    EXPECT_EQ(describeFailure(outcome, 5), "crashed (SIGABRT)");
    outcome.detail = 99;
    outcome.lastCall = "ll_get(list, 0)";
    EXPECT_EQ(describeFailure(outcome, 5), "crashed (signal 99) after ll_get(list, 0)");
    outcome.ending = Ending::timeout;
    outcome.inCall = true;
    EXPECT_EQ(describeFailure(outcome, 1.5), "timed out after 1.5 s in ll_get(list, 0)");
    outcome.ending = Ending::leak;
    outcome.detail = 1;
    outcome.leakedBytes = 1;
    EXPECT_EQ(describeFailure(outcome, 5), "the list leaked 1 block (1 byte)");
    EXPECT_STREQ(failureType(Ending::leak), "leak");
    EXPECT_STREQ(failureType(Ending::signal), "crash");
}

} // namespace
