#include "cTokens.h"

#include <cctype>

namespace mutator {

namespace {

// Punctuators of more than one character, longest first, so that the first match is the longest.
constexpr std::string_view kLongPunctuators[] = {
    "<<=", ">>=", "...", "->", "++", "--", "<<", ">>", "<=", ">=", "==", "!=",
    "&&",  "||",  "+=",  "-=", "*=", "/=", "%=", "&=", "|=", "^=", "##",
};

bool isNameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

// Reads the source a character at a time, counting lines.
class Reader {
  public:
    explicit Reader(std::string_view source) : source(source) {}

    bool done() const {
        return at >= source.size();
    }
    char peek(size_t ahead = 0) const {
        return at + ahead < source.size() ? source[at + ahead] : '\0';
    }
    bool startsWith(std::string_view text) const {
        return source.substr(at, text.size()) == text;
    }
    void skip(size_t count = 1) {
        for (size_t i = 0; i < count && !done(); i++) {
            line += source[at] == '\n' ? 1 : 0;
            at++;
        }
    }
    // Skips to the end of the line, joining lines that end in a backslash.
    void skipLine() {
        while (!done() && peek() != '\n') {
            skip(peek() == '\\' && peek(1) == '\n' ? 2 : 1);
        }
    }
    // Skips a string or character literal, escapes included.
    void skipLiteral(char quote) {
        skip();
        while (!done() && peek() != quote && peek() != '\n') {
            skip(peek() == '\\' ? 2 : 1);
        }
        skip();
    }
    std::string_view since(size_t start) const {
        return source.substr(start, at - start);
    }

    std::string_view source;
    size_t at = 0;
    int line = 1;
    bool lineStart = true; // only blanks so far on this line
};

// Skips blanks, comments and preprocessor lines; false at the end of the source.
bool skipSpace(Reader& in) {
    while (!in.done()) {
        const char c = in.peek();
        if (c == '\n') {
            in.lineStart = true;
            in.skip();
        } else if (std::isspace(static_cast<unsigned char>(c)) != 0) {
            in.skip();
        } else if (c == '#' && in.lineStart) {
            in.skipLine();
        } else if (in.startsWith("//")) {
            in.skipLine();
        } else if (in.startsWith("/*")) {
            in.skip(2);
            while (!in.done() && !in.startsWith("*/")) {
                in.skip();
            }
            in.skip(2);
        } else {
            return true;
        }
    }
    return false;
}

// Reads the token that starts here.
TokenKind readToken(Reader& in) {
    const char c = in.peek();
    if (c == '"' || c == '\'') {
        in.skipLiteral(c);
        return TokenKind::literal;
    }
    if (std::isdigit(static_cast<unsigned char>(c)) != 0 ||
        (c == '.' && std::isdigit(static_cast<unsigned char>(in.peek(1))) != 0)) {
        while (isNameChar(in.peek()) || in.peek() == '.') {
            in.skip();
        }
        return TokenKind::number;
    }
    if (isNameChar(c)) {
        while (isNameChar(in.peek())) {
            in.skip();
        }
        return TokenKind::name;
    }
    for (std::string_view punctuator : kLongPunctuators) {
        if (in.startsWith(punctuator)) {
            in.skip(punctuator.size());
            return TokenKind::punctuator;
        }
    }
    in.skip();
    return TokenKind::punctuator;
}

} // namespace

std::vector<Token> tokenize(std::string_view source) {
    std::vector<Token> tokens;
    Reader in(source);
    while (skipSpace(in)) {
        in.lineStart = false;
        const size_t start = in.at;
        const int line = in.line;
        const TokenKind kind = readToken(in);
        tokens.push_back({kind, std::string(in.since(start)), start, line});
    }
    return tokens;
}

} // namespace mutator
