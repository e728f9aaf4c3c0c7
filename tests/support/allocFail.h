#ifndef TESTS_SUPPORT_ALLOCFAIL_H
#define TESTS_SUPPORT_ALLOCFAIL_H

// Test-only allocation failures. A program linked with the alloc_fail library has its own calls to
// malloc, calloc, realloc, mmap, operator new (and new[] without throwing) and getline (or the
// __getdelim it becomes) routed through wrappers (the linker's --wrap) that count them and make one
// chosen call fail as running out of memory does: NULL, MAP_FAILED, std::bad_alloc, or -1 with
// ENOMEM. Allocations made inside the C and C++ runtimes themselves are not seen.

namespace allocfail {

// While alive, counts the allocations made and makes the nth of them (1 = the next one) fail;
// n = 0 only counts.
class Failing {
  public:
    explicit Failing(long n);
    ~Failing();
    Failing(const Failing&) = delete;
    Failing& operator=(const Failing&) = delete;

    // Whether the chosen allocation was reached, and so failed.
    bool fired() const;
    // Allocations attempted so far, the failed one included.
    long count() const;
    // Bytes mapped with mmap and not yet unmapped since the window opened: mappings are beyond
    // the leak checker's sight, so a test compares this with 0 instead.
    long long mappedBytes() const;
};

// Upper bound on the failure points a single operation is tried with, against runaway loops.
inline constexpr long MOST_FAILURE_POINTS = 10000;

// Runs attempt(n) for n = 1, 2, ... with the nth allocation of the window attempt opens failing,
// until an attempt completes with no failure; returns how many attempts failed one.
// attempt returns whether its Failing fired.
template <typename Attempt> long eachFailure(Attempt attempt) {
    long n = 1;
    while (n < MOST_FAILURE_POINTS && attempt(n)) {
        ++n;
    }
    return n - 1;
}

} // namespace allocfail

#endif
