#include "LineReader.h"

#include <cerrno>
#include <cstring>
#include <new>

LineReader::LineReader(std::FILE* file, size_t longestLine)
    : file_(file), capacity_(longestLine > 0 ? longestLine : 1) {}

// Remembers why the reading ended, so that every later call answers the same.
LineReader::Status LineReader::fail(Status status) {
    stopped_ = status;
    return status;
}

LineReader::Status LineReader::next(std::string_view& line) {
    if (stopped_ != Status::line) {
        return stopped_;
    }
    if (!buffer_) {
        buffer_.reset(new (std::nothrow) char[capacity_]);
        if (!buffer_) {
            return fail(Status::noMemory);
        }
    }
    for (;;) {
        char* const base = buffer_.get();
        if (const auto* lineEnd =
                static_cast<const char*>(std::memchr(base + start_, '\n', end_ - start_))) {
            line = std::string_view(base + start_, static_cast<size_t>(lineEnd - base) - start_);
            start_ = static_cast<size_t>(lineEnd - base) + 1;
            break;
        }
        if (atEnd_) {
            if (start_ == end_) {
                return fail(Status::end);
            }
            line = std::string_view(base + start_, end_ - start_);
            start_ = end_;
            break;
        }
        // No whole line is left: keep its beginning and read on behind it.
        if (start_ > 0) {
            std::memmove(base, base + start_, end_ - start_);
            end_ -= start_;
            start_ = 0;
        }
        if (end_ == capacity_) {
            ++number_;
            return fail(Status::tooLong);
        }
        const size_t got = std::fread(base + end_, 1, capacity_ - end_, file_);
        end_ += got;
        if (got == 0) {
            if (std::ferror(file_) != 0) {
                error_ = errno;
                // A file that fails before giving a byte (a folder) blames no line: number 0.
                if (number_ > 0 || end_ > 0) {
                    ++number_;
                }
                return fail(Status::readError);
            }
            atEnd_ = true;
        }
    }
    crLf_ = !line.empty() && line.back() == '\r';
    if (crLf_) {
        line.remove_suffix(1);
    }
    ++number_;
    return Status::line;
}
