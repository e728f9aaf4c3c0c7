#include "answers.h"

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <editline/readline.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The answers come from the line editor: standard input and output are a terminal that echoes.
bool editing = false;
// The line editor met the end of input (at the end of plain input, standard input says so).
bool editorEnded = false;

constexpr const char* TOO_LONG_ANSWER =
    "Respuesta demasiado larga: se toman hasta 1023 caracteres.\n";
static_assert(LONGEST_ANSWER == 1023, "TOO_LONG_ANSWER names the longest answer");

Answer refuseTooLong(std::string& answer) {
    answer.clear();
    std::fputs(TOO_LONG_ANSWER, stdout);
    return Answer::tooLong;
}

// Reads one line of plain input into answer without its line end; see ask().
Answer readPlainAnswer(std::FILE* input, std::string& answer) {
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
        return refuseTooLong(answer);
    }
    return Answer::given;
}

// Reads one line with the line editor, which shows prompt (a line's end, without a line end) and
// echoes and edits what is typed. Every answer but an empty one or a repeated one joins the
// history, for the up arrow to bring back.
Answer readEditedAnswer(const char* prompt, std::string& answer) {
    std::fflush(stdout);
    char* line = readline(prompt);
    if (line == nullptr) {
        editorEnded = true;
        return Answer::end;
    }
    answer = line;
    std::free(line);
    if (answer.size() > LONGEST_ANSWER) {
        return refuseTooLong(answer);
    }
    static std::string latest;
    if (!answer.empty() && answer != latest) {
        add_history(answer.c_str());
        latest = answer;
    }
    return Answer::given;
}

// Whether standard input and output are a terminal that echoes what is typed: a person's.
bool atEchoingTerminal() {
    termios settings{};
    return isatty(STDOUT_FILENO) != 0 && tcgetattr(STDIN_FILENO, &settings) == 0 &&
           (settings.c_lflag & ECHO) != 0;
}

// Reads the next answer from the real standard input, input, the line editor's or plain.
Answer readAnswer(std::FILE* input, const char* prompt, std::string& answer) {
    return editing ? readEditedAnswer(prompt, answer) : readPlainAnswer(input, answer);
}

// The read function of the one-answer-per-read stream: the next answer of the real standard
// input (the cookie) and its line end; 0 at the end of input, -1 for an answer too long.
ssize_t readOneAnswer(void* cookie, char* buffer, size_t size) {
    std::string line;
    // The reader printed its question, line end included, before it read.
    switch (readAnswer(static_cast<std::FILE*>(cookie), "", line)) {
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

void setUpAnswers() {
    if (isatty(STDIN_FILENO) == 0) {
        // Fails only for a stream already read from: this runs before the first question.
        static_cast<void>(std::setvbuf(stdin, nullptr, _IONBF, 0));
        return;
    }
    if (atEchoingTerminal()) {
        // The editor reads and shows characters by the locale's encoding, and what the program
        // reads and writes is UTF-8. Without C.UTF-8, only ASCII is edited as characters.
        static_cast<void>(std::setlocale(LC_CTYPE, "C.UTF-8"));
        // The editor takes the real standard input for good, before a reader swaps stdin.
        rl_instream = stdin;
        rl_outstream = stdout;
        editing = rl_initialize() == 0;
    }
}

Answer ask(const char* prompt, std::string& answer) {
    if (!editing) {
        std::fputs(prompt, stdout);
        std::fflush(stdout);
        return readPlainAnswer(stdin, answer);
    }
    // The editor redraws its prompt: it shows the last line of the question, the rest goes first.
    const char* const lastLine = std::strrchr(prompt, '\n');
    if (lastLine == nullptr) {
        return readEditedAnswer(prompt, answer);
    }
    std::fwrite(prompt, 1, static_cast<size_t>(lastLine + 1 - prompt), stdout);
    return readEditedAnswer(lastLine + 1, answer);
}

bool answersEnded() {
    return editing ? editorEnded : std::feof(stdin) != 0 || std::ferror(stdin) != 0;
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
