// Fuzzes the validators with arbitrary bytes: every answer must be exactly 0 or 1, agree with the
// classes' plain relations, and no text may make one read outside it or misbehave.
#include "inq_gets.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// Stops the run with a crash report that libFuzzer saves as the failing input.
void require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

bool isBinary(int result) {
    return result == 0 || result == 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The validators read up to the first NUL: hand them exactly that many bytes, on the heap,
    // so that a read past the terminator is caught.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const char* const p = text.c_str();

    const int number = inq_isNumber(p);
    const int telephone = inq_isTelephone(p);
    const int decimal = inq_isFloatNumber(p);
    const int alphanumeric = inq_isAlphanumeric(p);
    const int letter = inq_isLetter(p);
    const int mail = inq_isMail(p);
    const int cuil = inq_isCuil(p);
    for (const int result : {number, telephone, decimal, alphanumeric, letter, mail, cuil}) {
        require(isBinary(result));
    }

    const std::string visible(p); // what the validators see
    const auto count = [&visible](char c) { return std::count(visible.begin(), visible.end(), c); };

    // A digit text is also a telephone, a decimal and an alphanumeric text.
    require(!number || (telephone && decimal && alphanumeric));
    // A CUIL is a telephone with exactly two '-'.
    require(!cuil || (telephone && count('-') == 2));
    require(!(telephone && count('-') == 2) || cuil);
    // Separator counts.
    require(!mail || count('@') == 1);
    require(!decimal || count('.') <= 1);
    // Only the empty text is both letters and digits.
    require(!(number && letter) || visible.empty());
    // A byte outside ASCII fails everything.
    const bool ascii =
        std::all_of(visible.begin(), visible.end(), [](char c) { return (c & 0x80) == 0; });
    require(ascii || (number + telephone + decimal + alphanumeric + letter + mail + cuil) == 0);
    // A line end fails everything.
    require(count('\n') == 0 ||
            (number + telephone + decimal + alphanumeric + letter + mail + cuil) == 0);
    return 0;
}
