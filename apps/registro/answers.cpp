#include "answers.h"

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr const char* TOO_LONG_ANSWER =
    "Respuesta demasiado larga: se toman hasta 1023 caracteres.\n";
static_assert(LONGEST_ANSWER == 1023, "TOO_LONG_ANSWER names the longest answer");

// Reads one line of input into answer without its line end; see ask().
Answer readAnswer(std::FILE* input, std::string& answer) {
    answer.clear();
    // One character more than the longest answer leaves room for the CR of a CR LF.
    constexpr size_t kept = LONGEST_ANSWER + 1;
    bool overflowed = false;
    bool anything = false;
    int c = 0;
    while ((c = std::getc(input)) != EOF) {
        anything = true;
        if (c == '\n') {
            break;
        }
        if (answer.size() < kept) {
            answer.push_back(static_cast<char>(c));
        } else {
            overflowed = true;
        }
    }
    if (!anything) {
        return Answer::end;
    }
    if (!overflowed && !answer.empty() && answer.back() == '\r') {
        answer.pop_back();
    }
    if (overflowed || answer.size() > LONGEST_ANSWER) {
        answer.clear();
        std::fputs(TOO_LONG_ANSWER, stdout);
        return Answer::tooLong;
    }
    return Answer::given;
}

// The read function of the one-answer-per-read stream: the next answer of the real standard
// input (the cookie) and its line end; 0 at the end of input, -1 for an answer too long.
ssize_t readOneAnswer(void* cookie, char* buffer, size_t size) {
    std::string line;
    switch (readAnswer(static_cast<std::FILE*>(cookie), line)) {
    case Answer::given:
        line.push_back('\n');
        // The stream's buffer holds a longest answer and its line end.
        return static_cast<ssize_t>(line.copy(buffer, size));
    case Answer::tooLong:
        errno = EOVERFLOW;
        return -1;
    default:
        return 0;
    }
}

} // namespace

void takeAnswersLineByLine() {
    if (isatty(STDIN_FILENO) == 0) {
        // Fails only for a stream already read from: this runs before the first question.
        static_cast<void>(std::setvbuf(stdin, nullptr, _IONBF, 0));
    }
}

Answer ask(const char* prompt, std::string& answer) {
    std::fputs(prompt, stdout);
    std::fflush(stdout);
    return readAnswer(stdin, answer);
}

void withOneAnswerPerRead(const std::function<void()>& readers) {
    std::FILE* const input = stdin;
    std::FILE* answers = fopencookie(input, "r", {readOneAnswer, nullptr, nullptr, nullptr});
    if (answers == nullptr) {
        readers(); // without memory for a stream, the readers read as they would anyway
        return;
    }
    static char buffer[LONGEST_ANSWER + 2];
    // Fails only for a stream already read from, and this one is new.
    static_cast<void>(std::setvbuf(answers, buffer, _IOFBF, sizeof buffer));
    // glibc's standard streams are plain variables, there to be redirected.
    stdin = answers;
    readers();
    stdin = input;
    std::fclose(answers);
}
