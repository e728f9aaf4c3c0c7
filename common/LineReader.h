#ifndef COMMON_LINEREADER_H
#define COMMON_LINEREADER_H

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string_view>

// Reads a text file one line at a time and counts the lines, so that a reader of records can say
// on which line something is wrong. A line is handed out without its line end: LF, or CR LF; a
// CR elsewhere stays in the line. The last line needs no line end.
//
// Lines are read in large blocks, so a file of a million lines costs a few hundred reads; each
// line handed out stays valid until the next call.
class LineReader {
  public:
    enum class Status {
        line,      // a line was handed out
        end,       // the file has no more lines
        readError, // the file could not be read on (error() holds errno)
        tooLong,   // a line is longer than the reader takes
        noMemory,  // the reader's buffer could not be had
    };

    // The longest line taken by default, line end included.
    static constexpr size_t LONGEST_LINE = size_t{256} * 1024;

    // Reads file, which stays the caller's. Lines of up to longestLine bytes are taken.
    explicit LineReader(std::FILE* file, size_t longestLine = LONGEST_LINE);

    // The next line, in line; anything but Status::line ends the reading for good.
    Status next(std::string_view& line);

    // The number of the line last handed out, or of the line that failed: 1 for the first; 0
    // when the file could not be read at all, so that no line is blamed.
    long number() const {
        return number_;
    }

    // Whether the line last handed out ended in CR LF, so that a writer can end its lines alike.
    bool endedInCrLf() const {
        return crLf_;
    }

    // The errno of a Status::readError.
    int error() const {
        return error_;
    }

    // The longest line taken, line end included.
    size_t longestLine() const {
        return capacity_;
    }

  private:
    Status fail(Status status);

    std::FILE* file_;
    size_t capacity_;
    std::unique_ptr<char[]> buffer_;
    size_t start_ = 0; // where the next line begins in the buffer
    size_t end_ = 0;   // where the bytes read so far end
    bool atEnd_ = false;
    bool crLf_ = false;
    long number_ = 0;
    int error_ = 0;
    Status stopped_ = Status::line; // what ended the reading, once it ended
};

#endif
