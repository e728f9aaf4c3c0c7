#ifndef REGISTRO_ANSWERS_H
#define REGISTRO_ANSWERS_H

// The answers to the register's questions: one line of standard input each, typed at a terminal
// or read from a pipe or a file. At a terminal that echoes (a person's), a line editor reads them:
// the arrow keys move along the line and through the answers given before.

#include "inq_gets.h"

#include <cstddef>
#include <functional>
#include <string>

// The longest answer taken, as the console readers take: a line of INQ_LINE_SIZE - 1 characters.
constexpr size_t LONGEST_ANSWER = INQ_LINE_SIZE - 1;

enum class Answer {
    given,   // a line, in answer
    tooLong, // a line longer than LONGEST_ANSWER, read to its end, dropped and said so
    end,     // standard input is spent (or broken) before any character of a line
};

// Makes standard input hand over its lines one at a time when it is not a terminal (a terminal
// does so already): unbuffered, so that a reader that discards pending input, as the report
// menu's readers do, finds none and loses no answer given ahead. At a terminal that echoes, hands
// the reading to the line editor instead. Runs before the first question.
void setUpAnswers();

// Prints prompt and shows it at once, then reads one line into answer without its line end (LF,
// or CR LF). A last line without a line end is taken as it is; a line too long to take is said
// to be so, and nothing of it is kept.
Answer ask(const char* prompt, std::string& answer);

// Runs readers that take standard input themselves (the report menu's) on a standard input that
// hands over one answer per read: a line at a time, so that discarding pending input discards
// the rest of that line only; and a line too long to take as a read error, said as ask() says
// it, so that the reader refuses it whole and nothing of it reaches the next question. At a
// terminal the line editor reads those answers too: the readers' stdio never reads the terminal.
void withOneAnswerPerRead(const std::function<void()>& readers);

// Whether standard input has ended (or broken): no answer will come.
bool answersEnded();

#endif
