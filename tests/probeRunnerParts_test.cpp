// Parts of probeRunner on their own: the heap counter (linked with the runner's wrappers), the
// text it lets into the results, the words for how a case ended and the notes that point at the
// bug.
#include "caseOutcome.h"
#include "failureNotes.h"
#include "heapCounter.h"
#include "junitReport.h"
#include "safeText.h"
#include "sanitizerDigest.h"

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
    delete one;
    const HeapCount held = stopHeapCount();
    EXPECT_TRUE(held.complete);
    EXPECT_EQ(held.blocks, 4);
    EXPECT_EQ(held.bytes, 16 + 32 + 100 + 3 * static_cast<long>(sizeof(int)));
    EXPECT_EQ(held.foreignFrees, 0);
    free(earlier);
    free(plain);
    free(zeroed);
    free(grown);
    free(dropped);
    delete[] three;
}

// free() of an address no counted block starts at (inside a block, or a block from before the
// count) is not passed on, outside the list's calls; inside them the list's own frees are its
// business. The blocks are grouped by the list call that allocated them.
TEST(HeapCounter, KeepsFromFreeWhatIsNotABlockOfTheCountAndNamesWhereBlocksCameFrom) {
    char* earlier = static_cast<char*>(malloc(10));
    startHeapCount();
    heapEnterCall("ll_add(list, NULL)");
    char* pool = static_cast<char*>(malloc(64));
    char* more = static_cast<char*>(malloc(8));
    heapLeaveCall();
    heapEnterCall("ll_add(list, NULL)");
    char* again = static_cast<char*>(malloc(4));
    heapLeaveCall();
    heapEnterCall("ll_len(list)");
    heapLeaveCall();
    keep(earlier);
    keep(pool);
    keep(more);
    keep(again);
    // Through a pointer the compiler cannot see through: it refuses these calls otherwise.
    void (*volatile release)(void*) = free;
    release(pool + 16);
    release(earlier);
    release(more);
    const HeapCount held = stopHeapCount();
    EXPECT_EQ(held.foreignFrees, 2);
    EXPECT_STREQ(held.foreignAfter, "ll_len(list)"); // the call made last before them
    EXPECT_EQ(held.blocks, 2);
    HeldBlocks groups[2];
    ASSERT_EQ(heldBlocks(groups, 2), 1u);
    EXPECT_STREQ(groups[0].call, "ll_add(list, NULL)");
    EXPECT_EQ(groups[0].blocks, 2);
    EXPECT_EQ(groups[0].bytes, 68);
    free(pool);
    free(again);
    free(earlier);
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
    constexpr size_t BLOCKS = 20000;
    std::vector<void*> blocks(BLOCKS);
    std::vector<size_t> order(BLOCKS);
    for (size_t i = 0; i < BLOCKS; i++) {
        order[i] = i;
    }
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    startHeapCount();
    long bytes = 0;
    for (size_t i = 0; i < BLOCKS; i++) {
        blocks[i] = malloc(i % 64 + 1);
        bytes += static_cast<long>(i % 64 + 1);
    }
    for (size_t i = 0; i < BLOCKS / 2; i++) {
        bytes -= static_cast<long>(order[i] % 64 + 1);
        free(blocks[order[i]]);
    }
    const HeapCount half = stopHeapCount();
    EXPECT_EQ(half.blocks, static_cast<long>(BLOCKS / 2));
    EXPECT_EQ(half.bytes, bytes);
    startHeapCount();
    for (size_t i = BLOCKS / 2; i < BLOCKS; i++) {
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
    // Shown on a terminal: the line ends stay, a tab goes as any control character.
    EXPECT_EQ(shown("a\tb\n\x1b[2J\xff\n\nend"), "a?b\n?[2J?\n\nend");
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
    outcome.ending = Ending::signalledRunner;
    outcome.runnerSignal = SIGTERM;
    EXPECT_EQ(describeFailure(outcome, 5), "sent the runner SIGTERM in ll_get(list, 0)");
    outcome.ending = Ending::foreignBlock;
    outcome.foreignAfter = "ll_len(list)";
    EXPECT_EQ(describeFailure(outcome, 5),
              "a node the case freed was not a block of its own from malloc after ll_len(list)");
    EXPECT_STREQ(failureType(Ending::foreignBlock), "foreign-block");
}

// Which value of a failed comparison is the list's: the result of the case's last call, when it
// is one of the two (a pointer in the plain forms shows as its lowest 32 bits); nothing is said
// when the call's result is neither, or both.
TEST(FailureNotes, SayWhichValueIsTheListsAnswer) {
    struct Row {
        const char* report;
        const char* result;
        long long value;  // the result as a number
        const char* said; // "" for nothing
    };
    const Row rows[] = {
        {"assert equals failed '0' != '1'\r\n", "0", 0,
         "the list's answer is '0', the expected value '1'"},
        {"assert equals failed '1' != '0'\r\nmensaje\r\n", "0", 0,
         "the list's answer is '0', the expected value '1'"},
        {"assert equals failed '0x9abcdef0' != '0x0'\r\n", "0x123456789abcdef0", 0x123456789abcdef0,
         "the list's answer is '0x9abcdef0', the expected value '0x0'"},
        {"assert equals failed '(nil)' != '0x55d1c0'\r\n", "NULL", 0,
         "the list's answer is '(nil)', the expected value '0x55d1c0'"},
        {"assert not equals failed '-1' != '-1'\r\n", "-1", -1,
         "the list's answer is '-1', the one value the case rules out"},
        {"assert null failed. Value: '0x55d1c0' \r\n", "0x55d1c0", 0x55d1c0,
         "the list's answer is '0x55d1c0', where the case expected NULL"},
        {"assert not null failed. Value: '(nil)' \r\n", "NULL", 0,
         "the list's answer is NULL, where the case expected an address"},
        {"assert equals failed '3' != '4'\r\n", "0", 0, ""},
        {"assert equals failed '2.000000' != '1.000000'\r\n", "2", 2, ""},
        {"assert equals failed '1' != '0'\r\n", "", 0, ""}, // the call did not return
        // A quote the case's own message leaves open ends the values.
        {"assert equals failed '0' != '1\r\n", "0", 0, ""},
    };
    for (const Row& row : rows) {
        Outcome outcome;
        outcome.ending = Ending::assertion;
        outcome.report = row.report;
        outcome.trail = {{"ll_add(list, NULL)", "0", 0}, {"ll_len(list)", row.result, row.value}};
        const std::vector<std::string> notes = failureNotes(outcome);
        // The first note is the calls' line; the second, when there is one, says which is which.
        const std::string said = notes.size() > 1 ? notes[1] : "";
        EXPECT_EQ(said, row.said) << row.report << " " << row.result;
    }
}

// The calls before a failure, oldest first, a repeated call told once; a call that did not
// return is the FAIL line's and left out here.
TEST(FailureNotes, NameTheLastCallsWithTheirResults) {
    Outcome outcome;
    outcome.trail = {{"ll_len(list)", "1"}};
    EXPECT_TRUE(failureNotes(outcome).empty()) << "a case that passed has no notes";
    outcome.ending = Ending::signal;
    outcome.trail = {{"ll_add(list, NULL)", "0"},
                     {"ll_len(list)", "1"},
                     {"ll_len(list)", "1"},
                     {"ll_remove(list, 1)", "0"},
                     {"ll_get(list, 2)", ""}};
    EXPECT_EQ(failureNotes(outcome),
              std::vector<std::string>{"after ll_add(list, NULL) returned 0, then ll_len(list) "
                                       "returned 1 (twice), then ll_remove(list, 1) returned 0"});
    outcome.ending = Ending::leak;
    outcome.trail.clear();
    outcome.leftBehind = {{"ll_add(list, NULL)", 2, 32}, {"", 1, 1}};
    outcome.leftBehindGroups = 3;
    EXPECT_EQ(failureNotes(outcome),
              std::vector<std::string>{"left behind: 2 blocks (32 bytes) allocated in "
                                       "ll_add(list, NULL); 1 block (1 byte) allocated outside any "
                                       "list call; and blocks of 1 more calls"});
}

// A sanitizer's report cut down to the list's own frames, paths relative to its folder; the same
// report a second time is referred to.
TEST(SanitizerDigest, KeepsTheListsFramesAndRefersToARepeatedReport) {
    const std::string report =
        "=================================================================\n"
        "==2==ERROR: AddressSanitizer: heap-use-after-free on address 0x602000000050 at pc 0x1\n"
        "READ of size 8 at 0x602000000050 thread T0\n"
        "    #0 0x561c6c58489a in ll_pop /home/ana/list/src/list.c:247\n"
        "    #1 0x561c6c563264 in operator() /repo/testing/runner/listCalls.cpp:175\n"
        "    #2 0x561c6c58943b in extractProbeCase01() /repo/testing/src/extractProbe.cpp:54\n"
        "\n"
        "freed by thread T0 here:\n"
        "    #0 0x7f47e96b76a8 in __interceptor_free ../../asan_malloc_linux.cpp:52\n"
        "    #1 0x561c6c584851 in ll_pop /home/ana/list/src/list.c:246:7\n"
        "\n"
        "previously allocated by thread T0 here:\n"
        "    #0 0x7f47e96b89cf in __interceptor_malloc ../../asan_malloc_linux.cpp:69\n"
        "    #1 0x561c6c583f03 in node_new /home/ana/list/node.c:19\n"
        "\n"
        "SUMMARY: AddressSanitizer: heap-use-after-free /home/ana/list/src/list.c:247 in ll_pop\n";
    SanitizerDigest digest("/home/ana/list");
    const std::vector<std::string> expected = {
        "ERROR: AddressSanitizer: heap-use-after-free on address 0x602000000050 at pc 0x1",
        "READ of size 8 at 0x602000000050 thread T0",
        "  src/list.c:247 in ll_pop",
        "freed by thread T0 here:",
        "  src/list.c:246 in ll_pop",
        "previously allocated by thread T0 here:",
        "  node.c:19 in node_new"};
    EXPECT_EQ(digest.digest("extractProbeCase01", report), expected);
    std::string again = report;
    again.replace(again.find("0x602000000050"), 14, "0x602000000090");
    EXPECT_EQ(digest.digest("extractProbeCase02", again),
              (std::vector<std::string>{"ERROR: AddressSanitizer: heap-use-after-free on address "
                                        "0x602000000090 at pc 0x1",
                                        "the same report as for extractProbeCase01 (--verbose "
                                        "shows it again)"}));
    EXPECT_EQ(SanitizerDigest("/elsewhere").digest("c", report).back(),
              "no frame in the list's own files (--verbose shows the whole report)");
}

// The report's first line is its error line whichever sanitizer wrote it, or its first line when
// it has none; the case that gave a report first gets it whole each time it asks.
TEST(SanitizerDigest, StartsWithTheErrorLineOfAnySanitizer) {
    const std::string noFrame =
        "no frame in the list's own files (--verbose shows the whole report)";
    const struct {
        std::string report;
        std::vector<std::string> shown;
    } rows[] = {
        {"/home/ana/list/count.c:12:9: runtime error: signed integer overflow: 2147483647 + 1\n"
         "    #0 0x55d1c0 in ll_count /home/ana/list/count.c:12:9\n"
         "    #1 0x55d1c8 in surroundProbeCase04() /repo/testing/src/surroundProbe.cpp:276\n",
         {"count.c:12:9: runtime error: signed integer overflow: 2147483647 + 1",
          "  count.c:12 in ll_count"}},
        {"LeakSanitizer has encountered a fatal error.\n",
         {"LeakSanitizer has encountered a fatal error.", noFrame}},
        {"", {"", noFrame}},
    };
    for (const auto& row : rows) {
        SanitizerDigest digest("/home/ana/list");
        EXPECT_EQ(digest.digest("c", row.report), row.shown) << row.report;
        EXPECT_EQ(digest.digest("c", row.report), row.shown) << row.report;
    }
}

} // namespace
