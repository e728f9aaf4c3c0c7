#include "inq_gets.h"
#include "status.h"

#include <charconv>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <limits>
#include <stdio_ext.h>
#include <string_view>
#include <system_error>

namespace {

constexpr int VALID = 1;
constexpr int INVALID = 0;

// Doubles from here up round to infinity as a float: FLT_MAX plus half its last place.
constexpr double FLOAT_OVERFLOW = 0x1.ffffffp127;

constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// VALID when every character of text satisfies inClass and the separator occurs between
// fewest and most times; INVALID otherwise.
template <typename InClass>
int scanText(const char* text, InClass inClass, char separator = '\0', std::size_t fewest = 0,
             std::size_t most = std::numeric_limits<std::size_t>::max()) {
    std::size_t separators = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (!inClass(*p)) {
            return INVALID;
        }
        if (*p == separator) {
            ++separators;
        }
    }
    return separators >= fewest && separators <= most ? VALID : INVALID;
}

// Prints a caller's text exactly as it is, and shows it at once even when stdout is not a
// terminal, so that a prompt is seen before the program waits for input.
void printMessage(const char* message) {
    std::printf("%s", message);
    std::fflush(stdout);
}

// Reads as fgets does into buffer of size bytes; false when end of input or a read error came
// before any character, in which case buffer holds nothing that was read.
bool readRaw(char* buffer, int size) {
    return std::fgets(buffer, size, stdin) != nullptr;
}

// Reads one line into buffer (INQ_LINE_SIZE bytes) and removes its line end; false as readRaw.
bool readLine(char* buffer) {
    if (!readRaw(buffer, INQ_LINE_SIZE)) {
        return false;
    }
    const std::size_t length = std::strlen(buffer);
    if (length > 0 && buffer[length - 1] == '\n') {
        buffer[length - 1] = '\0';
    }
    return true;
}

// The decimal value of a digit text, 0 for the empty text; false when it does not fit an int.
bool digitsToInt(std::string_view digits, int* value) {
    if (digits.empty()) {
        *value = 0;
        return true;
    }
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), *value);
    return result.ec == std::errc{} && result.ptr == digits.data() + digits.size();
}

// The value of a text of digits with at most one '.', rounded to the nearest float, 0 for the
// empty text and "."; false when it lies beyond float. Parsed without the locale, so '.' is always
// the decimal point.
bool decimalToFloat(std::string_view text, float* value) {
    double parsed = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (result.ec == std::errc::invalid_argument) {
        parsed = 0.0; // no digit at all
    } else if (result.ec == std::errc::result_out_of_range) {
        // Below 1 it is too small for a double: the nearest float is 0. From 1 up, too large.
        const std::size_t firstSignificant = text.find_first_not_of('0');
        if (firstSignificant != std::string_view::npos && text[firstSignificant] != '.') {
            return false;
        }
        parsed = 0.0;
    }
    if (parsed >= FLOAT_OVERFLOW) {
        return false;
    }
    *value = static_cast<float>(parsed);
    return true;
}

// The text readers' common course: prompt, optionally discard pending input, read a line and copy
// it into pString when validate passes it; otherwise print the error message.
int readText(const char* pMessage, const char* pErrMessage, char* pString,
             int (*validate)(const char*), bool discardPending) {
    if (pMessage == nullptr || pErrMessage == nullptr) {
        return ERROR;
    }
    char buffer[INQ_LINE_SIZE];
    printMessage(pMessage);
    if (discardPending) {
        __fpurge(stdin);
    }
    if (!readLine(buffer) || validate(buffer) != VALID) {
        printMessage(pErrMessage);
        return ERROR;
    }
    std::memcpy(pString, buffer, std::strlen(buffer) + 1);
    return CORRECTO;
}

} // namespace

int inq_isNumber(const char* array) {
    return scanText(array, isDigit);
}

int inq_isTelephone(const char* array) {
    return scanText(array, [](char c) { return isDigit(c) || c == '-'; });
}

int inq_isFloatNumber(const char* array) {
    return scanText(
        array, [](char c) { return isDigit(c) || c == '.'; }, '.', 0, 1);
}

int inq_isAlphanumeric(const char* array) {
    return scanText(array, [](char c) { return isDigit(c) || isAsciiLetter(c); });
}

int inq_isLetter(const char* string) {
    return scanText(string, [](char c) { return isAsciiLetter(c) || c == ' '; });
}

int inq_isMail(const char* string) {
    return scanText(
        string,
        [](char c) {
            return isDigit(c) || isAsciiLetter(c) || c == '@' || c == '_' || c == '-' || c == '.';
        },
        '@', 1, 1);
}

int inq_isCuil(const char* array) {
    return scanText(
        array, [](char c) { return isDigit(c) || c == '-'; }, '-', 2, 2);
}

int inq_getInt(int* pResult) {
    char buffer[INQ_LINE_SIZE];
    int value = 0;
    __fpurge(stdin);
    if (!readLine(buffer) || inq_isNumber(buffer) != VALID || !digitsToInt(buffer, &value)) {
        return ERROR;
    }
    *pResult = value;
    return CORRECTO;
}

int inq_getFloatNumber(float* pResult) {
    char buffer[INQ_LINE_SIZE];
    float value = 0.0f;
    __fpurge(stdin);
    if (!readLine(buffer) || inq_isFloatNumber(buffer) != VALID ||
        !decimalToFloat(buffer, &value)) {
        return ERROR;
    }
    *pResult = value;
    return CORRECTO;
}

int inq_getNumber(int* pResult, int maximum, int minimum, int reintentos, const char* pMessage,
                  const char* pMessageErr) {
    for (int attempt = 0; attempt < reintentos; ++attempt) {
        int entry = 0;
        printMessage(pMessage);
        if (inq_getInt(&entry) == CORRECTO && entry <= maximum && entry >= minimum) {
            *pResult = entry;
            return CORRECTO;
        }
        printMessage(pMessageErr);
    }
    return ERROR;
}

int inq_getFloat(float* pResult, float maximum, float minimum, int retry, const char* pMessage,
                 const char* pMessageErr) {
    for (int attempt = 0; attempt < retry; ++attempt) {
        float entry = 0.0f;
        printMessage(pMessage);
        __fpurge(stdin);
        if (inq_getFloatNumber(&entry) == CORRECTO && entry <= maximum && entry >= minimum) {
            *pResult = entry;
            return CORRECTO;
        }
        printMessage(pMessageErr);
    }
    return ERROR;
}

int inq_getChar(const char* pMessage, const char* pErrMessage, char* pChar) {
    if (pMessage == nullptr) {
        printMessage(pErrMessage);
        return ERROR;
    }
    char buffer[INQ_CHAR_SIZE];
    printMessage(pMessage);
    if (!readRaw(buffer, INQ_CHAR_SIZE)) {
        return ERROR;
    }
    std::memcpy(pChar, buffer, std::strlen(buffer) + 1);
    return CORRECTO;
}

int inq_getString(const char* pMessage, const char* pErrMessage, char* pString) {
    return readText(pMessage, pErrMessage, pString, inq_isLetter, true);
}

int inq_getMail(const char* pMessage, const char* pErrMessage, char* pString) {
    return readText(pMessage, pErrMessage, pString, inq_isMail, false);
}

int inq_getTelephone(const char* pMessage, const char* pErrMessage, char* pString) {
    return readText(pMessage, pErrMessage, pString, inq_isTelephone, false);
}

int inq_getCuil(const char* pMessage, const char* pErrMessage, char* pString) {
    return readText(pMessage, pErrMessage, pString, inq_isCuil, false);
}
