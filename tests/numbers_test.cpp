// The one form of a number on every command line.
#include "numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>

namespace {

TEST(Numbers, AWholeNumberIsDecimalDigitsAloneWithinItsRange) {
    const struct {
        const char* text;
        unsigned long long least, most;
        std::optional<unsigned long long> read;
    } rows[] = {
        {"0", 0, 5, 0},
        {"010", 1, 256, 10}, // never octal
        {"5", 0, 5, 5},
        {"7", 0, 5, std::nullopt}, // a digit above a small most
        {"0", 1, 5, std::nullopt},
        {"18446744073709551615", 0, ULLONG_MAX, ULLONG_MAX},
        {"18446744073709551616", 0, ULLONG_MAX, std::nullopt},
        {"99999999999999999999999", 0, ULLONG_MAX, std::nullopt},
        {"0x10", 0, 100, std::nullopt},
        {"+5", 0, 100, std::nullopt},
        {"-1", 0, 100, std::nullopt},
        {" 5", 0, 100, std::nullopt},
        {"5 ", 0, 100, std::nullopt},
        {"1e3", 0, 10000, std::nullopt},
        {"", 0, 100, std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(readWhole(row.text, row.least, row.most), row.read) << row.text;
    }
}

TEST(Numbers, SecondsAreDigitsWithAnOptionalFractionAboveZeroAndAtMostTheirLimit) {
    const struct {
        const char* text;
        std::optional<double> read;
    } rows[] = {
        {"0.5", 0.5},          {"86400", 86400},      {"007", 7},
        {"0", std::nullopt},   {"0.0", std::nullopt}, {"86400.5", std::nullopt},
        {".5", std::nullopt},  {"5.", std::nullopt},  {"1.2.3", std::nullopt},
        {"1e3", std::nullopt}, {"inf", std::nullopt}, {"0x10", std::nullopt},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(readSeconds(row.text, 86400), row.read) << row.text;
    }
}

} // namespace
