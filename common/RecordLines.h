#ifndef COMMON_RECORDLINES_H
#define COMMON_RECORDLINES_H

#include "Diagnostic.h"
#include "Fields.h"
#include "LineReader.h"

#include <string_view>

// Reads the records of a text file that starts with a header line, as every program that reads
// one does: onHeader(line, number) takes the first line, blank lines are skipped, and
// onRecord(line, number) gets every other line with its number, in file order. Either returns
// false, having printed why, to stop the reading.
//
// True once the file was read to its end (an empty file has no records). False, having printed
// where and why (path names the file in the report), when onHeader or onRecord stopped, the file
// cannot be read on, a line is too long or memory runs out. A template, so that the payroll
// parser's call per line on a million lines costs no indirection.
template <typename OnHeader, typename OnRecord>
bool readHeadedLines(const char* path, LineReader& reader, OnHeader&& onHeader,
                     OnRecord&& onRecord) {
    std::string_view line;
    LineReader::Status status = reader.next(line);
    if (status == LineReader::Status::line) {
        if (!onHeader(line, reader.number())) {
            return false;
        }
        while ((status = reader.next(line)) == LineReader::Status::line) {
            if (!isBlankLine(line) && !onRecord(line, reader.number())) {
                return false;
            }
        }
    }
    if (status != LineReader::Status::end) {
        reportReadFailure(path, reader, status);
        return false;
    }
    return true;
}

// readHeadedLines for a comma-separated file whose first line must be header (see isHeaderLine);
// any other first line is reported with reportNotHeader.
template <typename OnRecord>
bool readRecordLines(const char* path, LineReader& reader, std::string_view header,
                     OnRecord&& onRecord) {
    const auto onHeader = [&](std::string_view line, long number) {
        if (isHeaderLine(line, header)) {
            return true;
        }
        reportNotHeader(path, number, header, line);
        return false;
    };
    return readHeadedLines(path, reader, onHeader, onRecord);
}

#endif
