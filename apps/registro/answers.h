#ifndef REGISTRO_ANSWERS_H
#define REGISTRO_ANSWERS_H

// The answers to the register's questions: one line of standard input each, typed at a terminal
// or read from a pipe or a file.

#include "inq_gets.h"

#include <cstddef>
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

#endif
