// The tokens of a C source, as far as making mutants of it needs them: names, numbers, string and
// character literals and punctuators, each with where it stands. Comments, preprocessor lines and
// the code that #if sections leave out for a build without macros of its own are no tokens, so
// no mutant ever touches them.
#ifndef CTOKENS_H
#define CTOKENS_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mutator {

enum class TokenKind { name, number, literal, punctuator };

struct Token {
    TokenKind kind;
    std::string text;
    size_t offset; // of its first character in the source
    int line;      // from 1
};

// The tokens of source, in order.
std::vector<Token> tokenize(std::string_view source);

} // namespace mutator

#endif
