#include "answers.h"

#include <cstdio>
#include <unistd.h>

void takeAnswersLineByLine() {
    if (isatty(STDIN_FILENO) == 0) {
        // Fails only for a stream already read from: this runs before the first question.
        static_cast<void>(std::setvbuf(stdin, nullptr, _IONBF, 0));
    }
}

Answer ask(const char* prompt, std::string& answer) {
    std::fputs(prompt, stdout);
    std::fflush(stdout);
    answer.clear();
    // One character more than the longest answer leaves room for the CR of a CR LF.
    constexpr size_t kept = LONGEST_ANSWER + 1;
    bool overflowed = false;
    bool anything = false;
    int c = 0;
    while ((c = std::getc(stdin)) != EOF) {
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
        return Answer::tooLong;
    }
    return Answer::given;
}
