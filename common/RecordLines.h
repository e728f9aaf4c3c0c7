#ifndef COMMON_RECORDLINES_H
#define COMMON_RECORDLINES_H

#include "Diagnostic.h"
#include "Fields.h"
#include "LineReader.h"

#include <string_view>

// Reads the records of a comma-separated file that starts with a header line, as every program
// that reads one does: the first line must be header (see isHeaderLine), blank lines are skipped,
// and onRecord(line, number) gets every other line with its number, in file order. onRecord
// returns false, having printed why, to stop the reading.
//
// True once the file was read to its end (an empty file has no records). False, having printed
// where and why (path names the file in the report), when the first line is not the header, the
// file cannot be read on, a line is too long or memory runs out, or onRecord stopped. A template,
// so that the payroll parser's call per line on a million lines costs no indirection.
template <typename OnRecord>
bool readRecordLines(const char* path, LineReader& reader, std::string_view header,
                     OnRecord&& onRecord) {
    std::string_view line;
    LineReader::Status status = reader.next(line);
    if (status == LineReader::Status::line) {
        if (!isHeaderLine(line, header)) {
            reportNotHeader(path, reader.number(), header, line);
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

#endif
