// The case table: every line of probeCases.h, pointing at the functions of its group's library.
// A build may add the lines of another file behind them, named by PROBE_MORE_CASES.
#include "probeRegistry.h"

#define CONFORMANCE_CASE(group, number, description)                                               \
    void group##Setup();                                                                           \
    void group##Case##number();
#define EXTENDED_CASE CONFORMANCE_CASE
#include "probeCases.h"
#ifdef PROBE_MORE_CASES
// cppcheck-suppress preprocessorErrorDirective ; the build names the file, cppcheck cannot
#include PROBE_MORE_CASES
#endif
#undef CONFORMANCE_CASE
#undef EXTENDED_CASE

namespace {

constexpr ProbeCase CASES[] = {
#define CONFORMANCE_CASE(group, number, description)                                               \
    {#group, #group "Case" #number, description, group##Setup, group##Case##number, false},
#define EXTENDED_CASE(group, number, description)                                                  \
    {#group, #group "Case" #number, description, group##Setup, group##Case##number, true},
#include "probeCases.h"
#ifdef PROBE_MORE_CASES
// cppcheck-suppress preprocessorErrorDirective ; the build names the file, cppcheck cannot
#include PROBE_MORE_CASES
#endif
#undef CONFORMANCE_CASE
#undef EXTENDED_CASE
};

} // namespace

std::span<const ProbeCase> probeCases() {
    return CASES;
}
