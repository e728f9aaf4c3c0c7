#include "controlBytes.h"

#include <cstdint>
#include <cstring>

namespace {

// Whether any byte of word is a control character: below 0x20, or 0x7F. Each test is exact for
// the word as a whole (a borrow can mark a byte only above one that matched).
constexpr bool hasControlByte(uint64_t word) {
    constexpr uint64_t ONES = 0x0101010101010101;
    constexpr uint64_t HIGH_BITS = ONES * 0x80;
    const uint64_t below = (word - ONES * 0x20) & ~word & HIGH_BITS;
    const uint64_t del = word ^ (ONES * 0x7F);
    return (below | ((del - ONES) & ~del & HIGH_BITS)) != 0;
}

} // namespace

bool hasControlCharacter(std::string_view text) {
    const char* const bytes = text.data();
    const size_t size = text.size();
    uint64_t word = 0;
    if (size >= 8) {
        size_t at = 0;
        for (; at + 8 < size; at += 8) {
            std::memcpy(&word, bytes + at, 8);
            if (hasControlByte(word)) {
                return true;
            }
        }
        // The last eight bytes, overlapping those already seen.
        std::memcpy(&word, bytes + size - 8, 8);
        return hasControlByte(word);
    }
    if (size >= 4) {
        // The first four and the last four, overlapping where fewer than eight.
        uint32_t head = 0;
        uint32_t tail = 0;
        std::memcpy(&head, bytes, 4);
        std::memcpy(&tail, bytes + size - 4, 4);
        return hasControlByte(uint64_t{head} << 32 | tail);
    }
    bool found = false;
    for (size_t at = 0; at < size; ++at) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        found |= byte < 0x20 || byte == 0x7F;
    }
    return found;
}
