// LineReader: lines without their line ends, counted, across the reader's block boundaries, and
// each way a reading can end.
#include "LineReader.h"

#include "File.h"
#include "files.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Reading {
    std::vector<std::string> lines;
    LineReader::Status last;
    long number;
};

// Reads every line of bytes with a reader taking lines of up to longest bytes.
Reading readAll(const std::string& bytes, size_t longest = LineReader::LONGEST_LINE) {
    console::TempDir dir;
    console::writeFile(dir / "f", bytes);
    File file(std::fopen((dir / "f").c_str(), "r"));
    LineReader reader(file.get(), longest);
    Reading reading;
    std::string_view line;
    while ((reading.last = reader.next(line)) == LineReader::Status::line) {
        reading.lines.emplace_back(line);
    }
    reading.number = reader.number();
    EXPECT_EQ(reader.next(line), reading.last) << "the end must stick";
    return reading;
}

using Lines = std::vector<std::string>;

TEST(LineReader, TakesOffLfAndCrLfButKeepsOtherCarriageReturns) {
    const auto reading = readAll("a\nb\r\n\r\nc\rd\n\n last");
    EXPECT_EQ(reading.lines, (Lines{"a", "b", "", "c\rd", "", " last"}));
    EXPECT_EQ(reading.last, LineReader::Status::end);
    EXPECT_EQ(reading.number, 6);
}

TEST(LineReader, AnEmptyFileHasNoLines) {
    const auto reading = readAll("");
    EXPECT_TRUE(reading.lines.empty());
    EXPECT_EQ(reading.last, LineReader::Status::end);
    EXPECT_EQ(reading.number, 0);
}

TEST(LineReader, LinesCrossingTheBlockBoundaryComeWhole) {
    std::string bytes;
    Lines expected;
    for (int i = 0; i < 500; i++) {
        expected.push_back(std::string(static_cast<size_t>(i % 13), 'x') + std::to_string(i));
        bytes += expected.back() + (i % 2 == 0 ? "\n" : "\r\n");
    }
    EXPECT_EQ(readAll(bytes, 20).lines, expected); // the longest line is 17 bytes
}

TEST(LineReader, ALineLongerThanTheReaderTakesStopsAtItsNumber) {
    const auto reading = readAll("short\n0123456789abcdef\nnext\n", 16);
    EXPECT_EQ(reading.lines, (Lines{"short"}));
    EXPECT_EQ(reading.last, LineReader::Status::tooLong);
    EXPECT_EQ(reading.number, 2);
    // A line of exactly the reader's size, its line end included, still fits.
    EXPECT_EQ(readAll("0123456789abcde\n", 16).lines, (Lines{"0123456789abcde"}));
}

TEST(LineReader, AFolderCannotBeReadAndSaysWhy) {
    console::TempDir dir;
    File folder(std::fopen(dir.path().c_str(), "r"));
    ASSERT_TRUE(folder);
    LineReader reader(folder.get());
    std::string_view line;
    EXPECT_EQ(reader.next(line), LineReader::Status::readError);
    EXPECT_EQ(reader.error(), EISDIR);
    // No byte of any line was read: no line is to blame.
    EXPECT_EQ(reader.number(), 0);
}

} // namespace
