#ifndef FAILURE_NOTES_H
#define FAILURE_NOTES_H

// The runner's own lines under a failed case, which point at the bug: the list calls the case
// made last, with their results; the call a wrong value came from and the call that made the
// list it was read from; which value of a failed comparison is the list's answer; the
// calls that allocated the blocks a case left behind; why a node must be a block of its own.

#include "caseOutcome.h"

#include <string>
#include <vector>

// The text with each address the case named (an element, a list) shown by its name: an address
// between quotes, as an assertion line shows it, or the whole text when it is one address.
std::string withNames(const std::string& text, const Outcome& outcome);

// The lines for a failed case, without indentation; none for a passed one.
std::vector<std::string> failureNotes(const Outcome& outcome);

#endif
