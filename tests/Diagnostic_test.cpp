// The one-line reports and the field readers the programs share.
#include "Diagnostic.h"

#include "Fields.h"
#include "console.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>

namespace {

using console::captureStdout;

TEST(Diagnostic, QuotesTheTextWithItsControlCharactersEscaped) {
    EXPECT_EQ(captureStdout([] { reportLine("a.csv", 7, "mal", "x"); }), "a.csv:7: mal: \"x\"\n");
    EXPECT_EQ(captureStdout([] {
                  reportLine("a.csv", 1, "mal", std::string_view("A\0b\r\t\"\\\x1b\x7f\xc3\xa9", 11));
              }),
              "a.csv:1: mal: \"A\\0b\\r\\t\\\"\\\\\\x1b\\x7f\xc3\xa9\"\n");
    EXPECT_EQ(captureStdout([] { reportLine("a.csv", 2, "sin texto"); }), "a.csv:2: sin texto\n");
    EXPECT_EQ(captureStdout([] { reportFile("a.csv", "memoria insuficiente"); }),
              "a.csv: memoria insuficiente\n");
    EXPECT_EQ(captureStdout([] { reportSystemError("a.csv", "no se pudo abrir", ENOENT); }),
              "a.csv: no se pudo abrir: No such file or directory\n");
}

TEST(Diagnostic, CutsALongTextBetweenCharacters) {
    const std::string ascii(kLongestQuote + 1, 'n');
    EXPECT_EQ(captureStdout([&] { reportLine("f", 3, "largo", ascii); }),
              "f:3: largo: \"" + ascii.substr(0, kLongestQuote) + "\"...\n");
    // "x" and two-byte letters: the letter across the last byte allowed is left out whole.
    std::string letters;
    for (size_t i = 0; i < kLongestQuote / 2; i++) {
        letters += "ñ";
    }
    const std::string shown = "x" + letters.substr(0, letters.size() - 2);
    EXPECT_EQ(captureStdout([&] { reportLine("f", 3, "largo", "x" + letters); }),
              "f:3: largo: \"" + shown + "\"...\n");
    const std::string fits(kLongestQuote, 'n');
    EXPECT_EQ(captureStdout([&] { reportLine("f", 3, "justo", fits); }),
              "f:3: justo: \"" + fits + "\"\n");
}

TEST(Fields, ReadsA32BitIntegerAndNothingElse) {
    int value = 7;
    EXPECT_EQ(parseInt32("2147483647", value), IntegerText::ok);
    EXPECT_EQ(value, INT_MAX);
    EXPECT_EQ(parseInt32("-2147483648", value), IntegerText::ok);
    EXPECT_EQ(value, INT_MIN);
    EXPECT_EQ(parseInt32("-0", value), IntegerText::ok);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(parseInt32("000000000000000000000000042", value), IntegerText::ok);
    EXPECT_EQ(value, 42);
    for (const char* beyond : {"2147483648", "-2147483649", "99999999999999999999999999"}) {
        EXPECT_EQ(parseInt32(beyond, value), IntegerText::outOfRange) << beyond;
    }
    for (const char* bad : {"", "-", "+1", " 1", "1 ", "1x", "--1", "1-", "99999999999999x"}) {
        EXPECT_EQ(parseInt32(bad, value), IntegerText::notInteger) << bad;
    }
    EXPECT_EQ(value, 42) << "a failed read leaves the value";
}

} // namespace
