// Fuzzes the assertion layer's print path: failing assertions with arbitrary message texts and
// compared strings, appended to a report filled to an arbitrary length. Each report line stays
// within utest_printBuffer, the report within utest_printErrorBuffer (both globals, so a write past
// either is caught), and what was in the report before stays as it was.
#include "utest.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

namespace {

void require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void failEqualsIntMsg(const char* message) {
    utest_assertEqualsIntMsg(1, 2, message);
}

void failNotNullMsg(const char* message) {
    utest_assertNotNullMsg(static_cast<void*>(nullptr), message);
}

void failEqualsStringMsg(const char* a, const char* b, const char* message) {
    utest_assertEqualsStringMsg(a, b, 1, message);
}

void failEqualsString(const char* a, const char* b) {
    utest_assertEqualsString(a, b, 1);
}

// A heap copy of text up to its first NUL, of exactly that length and terminator.
std::vector<char> cString(const std::string& text) {
    const char* start = text.c_str();
    return std::vector<char>(start, start + std::strlen(start) + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    // Mostly short reports, often nearly full ones.
    const std::size_t filled = provider.ConsumeBool()
                                   ? provider.ConsumeIntegralInRange<std::size_t>(0, 512)
                                   : sizeof utest_printErrorBuffer - 1 -
                                         provider.ConsumeIntegralInRange<std::size_t>(0, 600);
    std::memset(utest_printErrorBuffer, 'r', filled);
    utest_printErrorBuffer[filled] = '\0';
    utest_flagTestError = 0;

    const int which = provider.ConsumeIntegralInRange(0, 3);
    // The compared strings must differ in their first character for the assertion to fail.
    std::vector<char> a = cString("a" + provider.ConsumeRandomLengthString(600));
    std::vector<char> b = cString("b" + provider.ConsumeRandomLengthString(600));
    std::vector<char> message = cString(provider.ConsumeRemainingBytesAsString());
    switch (which) {
    case 0:
        failEqualsIntMsg(message.data());
        break;
    case 1:
        failNotNullMsg(message.data());
        break;
    case 2:
        failEqualsStringMsg(a.data(), b.data(), message.data());
        break;
    default:
        failEqualsString(a.data(), b.data());
        break;
    }
    require(utest_flagTestError == 1);
    require(strnlen(utest_printBuffer, sizeof utest_printBuffer) < sizeof utest_printBuffer);
    const std::size_t length = strnlen(utest_printErrorBuffer, sizeof utest_printErrorBuffer);
    require(length < sizeof utest_printErrorBuffer);
    require(length > filled || filled == sizeof utest_printErrorBuffer - 1);
    for (std::size_t i = 0; i < filled; ++i) {
        require(utest_printErrorBuffer[i] == 'r');
    }
    return 0;
}
