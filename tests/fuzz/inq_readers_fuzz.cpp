// Fuzzes the line readers: the input becomes standard input and a fixed sequence of readers
// consumes it. Every reader answers 0 or -1, stores only on success and only what its class
// allows, and writes nothing past a destination of the documented size (each destination is a
// heap block of exactly that size, so a write past it is caught).
#include "inq_gets.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

char inputPath[] = "/tmp/inq_readers_fuzz.XXXXXX";

void require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// Makes data the whole of standard input, from its first byte. Unbuffered, standard input hands
// each reader only the bytes it asks for, as a terminal does a line at a time: a buffered file
// would be read whole by the first reader and thrown away by the first discard of pending input.
void becomeStdin(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(inputPath, "wb");
    require(file != nullptr);
    require(std::fwrite(data, 1, size, file) == size);
    std::fclose(file);
    require(std::freopen(inputPath, "rb", stdin) != nullptr);
    require(std::setvbuf(stdin, nullptr, _IONBF, 0) == 0);
}

// A heap block of size bytes, each set to fill.
std::unique_ptr<char[]> destination(std::size_t size, char fill) {
    std::unique_ptr<char[]> block(new char[size]);
    std::memset(block.get(), fill, size);
    return block;
}

bool untouched(const char* block, std::size_t size, char fill) {
    for (std::size_t i = 0; i < size; ++i) {
        if (block[i] != fill) {
            return false;
        }
    }
    return true;
}

// A text reader's answer: on success a validated text within the destination, else no change.
void checkText(int (*reader)(const char*, const char*, char*), int (*validator)(const char*)) {
    constexpr char FILL = '#';
    auto text = destination(INQ_LINE_SIZE, FILL);
    const int result = reader("texto: ", "error\n", text.get());
    require(result == 0 || result == -1);
    if (result == 0) {
        require(strnlen(text.get(), INQ_LINE_SIZE) < INQ_LINE_SIZE);
        require(validator(text.get()) == 1);
    } else {
        require(untouched(text.get(), INQ_LINE_SIZE, FILL));
    }
}

void checkNumbers() {
    auto number = std::make_unique<int>(-77);
    int result = inq_getNumber(number.get(), 100, -5, 3, "numero: ", "error\n");
    require(result == 0 || result == -1);
    require(result == 0 ? *number >= -5 && *number <= 100 : *number == -77);

    auto decimal = std::make_unique<float>(-1.0f);
    result = inq_getFloat(decimal.get(), 1000.5f, 0.25f, 2, "decimal: ", "error\n");
    require(result == 0 || result == -1);
    require(result == 0 ? *decimal >= 0.25f && *decimal <= 1000.5f : *decimal == -1.0f);
}

void checkChar() {
    constexpr char FILL = '#';
    auto typed = destination(INQ_CHAR_SIZE, FILL);
    const int result = inq_getChar("letra: ", "error\n", typed.get());
    require(result == 0 || result == -1);
    if (result == 0) {
        require(strnlen(typed.get(), INQ_CHAR_SIZE) < INQ_CHAR_SIZE);
    } else {
        require(untouched(typed.get(), INQ_CHAR_SIZE, FILL));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const int fd = mkstemp(inputPath);
    require(fd != -1);
    close(fd);
    std::atexit([] { unlink(inputPath); });
    // The prompts are of no interest here; libFuzzer reports on stderr.
    require(std::freopen("/dev/null", "w", stdout) != nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    becomeStdin(data, size);
    checkNumbers();
    checkChar();
    checkText(inq_getString, inq_isLetter);
    checkText(inq_getMail, inq_isMail);
    checkText(inq_getTelephone, inq_isTelephone);
    checkText(inq_getCuil, inq_isCuil);
    return 0;
}
