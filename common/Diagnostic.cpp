#include "Diagnostic.h"

#include <cstdio>
#include <cstring>

namespace {

void print(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

// Prints one byte of a quoted text, escaped where it would break the line or the quotes.
void printQuotedByte(unsigned char c) {
    switch (c) {
    case '\0':
        print("\\0");
        return;
    case '\t':
        print("\\t");
        return;
    case '\n':
        print("\\n");
        return;
    case '\r':
        print("\\r");
        return;
    case '"':
        print("\\\"");
        return;
    case '\\':
        print("\\\\");
        return;
    default:
        break;
    }
    if (c < 0x20 || c == 0x7F) {
        std::printf("\\x%02x", c);
    } else {
        std::putchar(c);
    }
}

// Where to cut text so that at most LONGEST_QUOTE bytes remain and no UTF-8 character is split.
size_t quoteLength(std::string_view text) {
    if (text.size() <= LONGEST_QUOTE) {
        return text.size();
    }
    size_t cut = LONGEST_QUOTE;
    // A continuation byte (10xxxxxx) at the cut belongs to a character begun before it.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return cut;
}

// Ends a report with ": "text"" and its line end, text quoted as reportLine describes.
void printQuote(std::string_view text) {
    print(": \"");
    const size_t length = quoteLength(text);
    for (size_t i = 0; i < length; ++i) {
        printQuotedByte(static_cast<unsigned char>(text[i]));
    }
    print(length < text.size() ? "\"...\n" : "\"\n");
}

} // namespace

void reportLine(const char* file, long line, std::string_view reason) {
    std::printf("%s:%ld: ", file, line);
    print(reason);
    std::putchar('\n');
}

void reportLine(const char* file, long line, std::string_view reason, std::string_view text) {
    std::printf("%s:%ld: ", file, line);
    print(reason);
    printQuote(text);
}

void reportNotHeader(const char* file, long line, std::string_view header, std::string_view text) {
    std::printf("%s:%ld: la primera línea no es el encabezado ", file, line);
    print(header);
    printQuote(text);
}

void reportFile(const char* file, std::string_view reason) {
    std::printf("%s: ", file);
    print(reason);
    std::putchar('\n');
}

void reportSystemError(const char* file, std::string_view what, int error) {
    std::printf("%s: ", file);
    print(what);
    std::printf(": %s\n", std::strerror(error));
}

void reportReadFailure(const char* file, const LineReader& reader, LineReader::Status status) {
    switch (status) {
    case LineReader::Status::readError:
        if (reader.number() == 0) {
            reportSystemError(file, "no se pudo leer", reader.error());
            return;
        }
        std::printf("%s:%ld: no se pudo leer: %s\n", file, reader.number(),
                    std::strerror(reader.error()));
        return;
    case LineReader::Status::tooLong:
        std::printf("%s:%ld: la línea es demasiado larga (más de %zu bytes)\n", file,
                    reader.number(), reader.longestLine());
        return;
    default:
        reportFile(file, "memoria insuficiente");
        return;
    }
}
