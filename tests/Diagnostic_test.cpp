// The one-line reports the programs share.
#include "Diagnostic.h"

#include "console.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
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
    // A line end inside the text would split the report in two.
    EXPECT_EQ(captureStdout([] { reportLine("a.csv", 3, "mal", "a\nb"); }),
              "a.csv:3: mal: \"a\\nb\"\n");
    EXPECT_EQ(captureStdout([] { reportLine("a.csv", 2, "sin texto"); }), "a.csv:2: sin texto\n");
    EXPECT_EQ(captureStdout([] { reportFile("a.csv", "memoria insuficiente"); }),
              "a.csv: memoria insuficiente\n");
    EXPECT_EQ(captureStdout([] { reportSystemError("a.csv", "no se pudo abrir", ENOENT); }),
              "a.csv: no se pudo abrir: No such file or directory\n");
}

TEST(Diagnostic, CutsALongTextBetweenCharacters) {
    const std::string ascii(LONGEST_QUOTE + 1, 'n');
    EXPECT_EQ(captureStdout([&] { reportLine("f", 3, "largo", ascii); }),
              "f:3: largo: \"" + ascii.substr(0, LONGEST_QUOTE) + "\"...\n");
    // "x" and two-byte letters: the letter across the last byte allowed is left out whole.
    std::string letters;
    for (size_t i = 0; i < LONGEST_QUOTE / 2; i++) {
        letters += "ñ";
    }
    const std::string shown = "x" + letters.substr(0, letters.size() - 2);
    EXPECT_EQ(captureStdout([&] { reportLine("f", 3, "largo", "x" + letters); }),
              "f:3: largo: \"" + shown + "\"...\n");
    const std::string fits(LONGEST_QUOTE, 'n');
    EXPECT_EQ(captureStdout([&] { reportLine("f", 3, "justo", fits); }),
              "f:3: justo: \"" + fits + "\"\n");
}

// A disk that fails in the middle of a file: the line it failed in is blamed, not the file.
TEST(Diagnostic, AReadThatFailsMidFileBlamesItsLine) {
    cookie_io_functions_t failing{};
    failing.read = [](void* cookie, char* into, size_t size) -> ssize_t {
        bool& given = *static_cast<bool*>(cookie);
        if (given) {
            errno = EIO;
            return -1;
        }
        given = true;
        const std::string_view bytes = "uno\ndo";
        std::memcpy(into, bytes.data(), std::min(size, bytes.size()));
        return static_cast<ssize_t>(std::min(size, bytes.size()));
    };
    bool given = false;
    std::FILE* file = fopencookie(&given, "r", failing);
    ASSERT_NE(file, nullptr);
    LineReader reader(file);
    std::string_view line;
    ASSERT_EQ(reader.next(line), LineReader::Status::line);
    const LineReader::Status status = reader.next(line);
    ASSERT_EQ(status, LineReader::Status::readError);
    EXPECT_EQ(captureStdout([&] { reportReadFailure("f", reader, status); }),
              "f:2: no se pudo leer: Input/output error\n");
    std::fclose(file);
}

} // namespace
