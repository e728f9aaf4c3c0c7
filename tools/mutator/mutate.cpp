// mutate: the single-point mutants of a C source, for tools/mutation-score.sh.
//   mutate SOURCE          lists them, one a line: NUMBER<TAB>LINE<TAB>MUTATION
//   mutate SOURCE NUMBER   writes mutant NUMBER (from 1) of SOURCE to standard output
// Exit status: 0, or 2 when SOURCE cannot be read or NUMBER names no mutant.
#include "mutants.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

int fail(const std::string& message) {
    std::cerr << "mutate: " << message << "\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        return fail("usage: mutate SOURCE [NUMBER]");
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) {
        return fail(std::string("cannot read ") + argv[1]);
    }
    const std::string source = text.str();
    const std::vector<mutator::Mutant> mutants = mutator::mutantsOf(source);
    if (argc == 2) {
        for (size_t i = 0; i < mutants.size(); i++) {
            std::cout << i + 1 << '\t' << mutants[i].line << '\t' << mutants[i].description << '\n';
        }
        return std::cout.flush() ? 0 : fail("cannot write the list");
    }
    char* end = nullptr;
    const unsigned long number = std::strtoul(argv[2], &end, 10);
    if (*end != '\0' || number == 0 || number > mutants.size()) {
        return fail(std::string("no mutant ") + argv[2] + " of " + argv[1]);
    }
    std::cout << mutator::apply(source, mutants[number - 1]);
    return std::cout.flush() ? 0 : fail("cannot write the mutant");
}
