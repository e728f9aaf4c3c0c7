// The single-point mutants of a C source: each changes one place of the source in one way that a
// plausible slip would (an operator, a constant, a return, a dropped statement or NULL test, a
// narrower integer type, two arguments swapped). The same source always gives the same mutants in
// the same order, so a mutant is named by its number.
#ifndef MUTANTS_H
#define MUTANTS_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mutator {

// The source's text from offset, length characters long, replaced with text.
struct Edit {
    size_t offset;
    size_t length;
    std::string text;
};

struct Mutant {
    int line;                // where the change starts
    std::string description; // "<kind>: '<before>' -> '<after>'", or "<kind>: '<before>'"
    std::vector<Edit> edits;
};

// Every mutant of source, in the order of the places they change; only code inside braces (the
// bodies of functions and of the types they declare) is changed.
std::vector<Mutant> mutantsOf(std::string_view source);

// The source as the mutant has it. Each edit keeps the line ends of what it replaces, so that
// every line keeps its number.
std::string apply(std::string_view source, const Mutant& mutant);

} // namespace mutator

#endif
