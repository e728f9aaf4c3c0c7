// Arms allocation failures for a whole program run, as the test that started it asks:
//   ALLOC_FAIL_AT=n   makes the program's nth allocation fail (0: none, only count);
//   ALLOC_FAIL_LOG=f  receives "<allocations counted> <1 if the failure fired, else 0>" at exit.
#include "allocFail.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// Armed before main, reported after it returns or exit is called.
struct ProgramWindow {
    std::optional<allocfail::Failing> failing;

    ProgramWindow() {
        const char* at = std::getenv("ALLOC_FAIL_AT");
        failing.emplace(at != nullptr ? std::atol(at) : 0);
    }

    ~ProgramWindow() {
        const long count = failing->count();
        const bool fired = failing->fired();
        failing.reset();
        const char* log = std::getenv("ALLOC_FAIL_LOG");
        if (log == nullptr) {
            return;
        }
        if (std::FILE* file = std::fopen(log, "w")) {
            std::fprintf(file, "%ld %d\n", count, fired ? 1 : 0);
            std::fclose(file);
        }
    }

    ProgramWindow(const ProgramWindow&) = delete;
    ProgramWindow& operator=(const ProgramWindow&) = delete;
};

ProgramWindow window;

} // namespace
