#ifndef REGISTRO_ANSWERS_H
#define REGISTRO_ANSWERS_H

// The answers to the register's questions: one line of standard input each, typed at a terminal
// or read from a pipe or a file.

#include "inq_gets.h"

#include <cstddef>
#include <functional>
#include <string>

// The longest answer taken, as the console readers take: a line of INQ_LINE_SIZE - 1 characters.
constexpr size_t LONGEST_ANSWER = INQ_LINE_SIZE - 1;

enum class Answer {
    given,   // a line, in answer
    tooLong, // a line longer than LONGEST_ANSWER, read to its end and dropped
    end,     // standard input is spent (or broken) before any character of a line
};

// Makes standard input hand over its lines one at a time when it is not a terminal (a terminal
// does so already): unbuffered, so that a reader that discards pending input, as the report
// menu's readers do, finds none and loses no answer given ahead.
void takeAnswersLineByLine();

// Prints prompt and shows it at once, then reads one line into answer without its line end (LF,
// or CR LF). A last line without a line end is taken as it is.
Answer ask(const char* prompt, std::string& answer);

// The message for an answer too long to take.
constexpr const char* TOO_LONG_ANSWER =
    "Respuesta demasiado larga: se toman hasta 1023 caracteres.\n";
static_assert(LONGEST_ANSWER == 1023, "TOO_LONG_ANSWER names the longest answer");

// Runs readers that take standard input themselves (the report menu's) on a standard input that
// hands over one answer per read: a line at a time, so that discarding pending input discards
// the rest of that line only; and a line too long to take as a read error, said as
// TOO_LONG_ANSWER, so that the reader refuses it whole and nothing of it reaches the next
// question. End of input stays end of input on the real standard input.
void withOneAnswerPerRead(const std::function<void()>& readers);

#endif
