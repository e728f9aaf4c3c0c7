#include "cTokens.h"

#include <cctype>

namespace mutator {

namespace {

// Punctuators of more than one character, longest first, so that the first match is the longest.
constexpr std::string_view LONG_PUNCTUATORS[] = {
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

// The conditional sections of the source as a build that defines no macro of its own sees them:
// #ifdef NAME is false and #ifndef NAME true; #if 0 and #if defined(...) are false, #if
// !defined(...) and any other #if true. Only the code such a build compiles gets mutants, and
// braces opened in two branches of one #if are counted once.
class Conditions {
  public:
    void apply(std::string_view directive) {
        directive = trim(directive.substr(1));
        size_t end = 0;
        while (end < directive.size() && isNameChar(directive[end])) {
            end++;
        }
        const std::string_view word = directive.substr(0, end);
        const std::string_view rest = trim(directive.substr(end));
        if (word == "ifdef" || word == "ifndef" || word == "if") {
            const bool now = word == "ifndef" || (word == "if" && holds(rest));
            levels.push_back({now, now});
        } else if (levels.empty()) {
            return;
        } else if (word == "elif") {
            levels.back().now = !levels.back().taken && holds(rest);
            levels.back().taken = levels.back().taken || levels.back().now;
        } else if (word == "else") {
            levels.back().now = !levels.back().taken;
            levels.back().taken = true;
        } else if (word == "endif") {
            levels.pop_back();
        }
    }
    bool active() const {
        for (const Level& level : levels) {
            if (!level.now) {
                return false;
            }
        }
        return true;
    }

  private:
    struct Level {
        bool taken; // some branch so far was taken
        bool now;   // the branch under way is
    };
    static std::string_view trim(std::string_view text) {
        while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())) != 0) {
            text.remove_prefix(1);
        }
        while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())) != 0) {
            text.remove_suffix(1);
        }
        return text;
    }
    static bool holds(std::string_view condition) {
        condition = trim(condition);
        if (!condition.empty() && condition.front() == '!') {
            return !holds(condition.substr(1));
        }
        return condition != "0" && condition.substr(0, 7) != "defined";
    }

    std::vector<Level> levels;
};

// Skips blanks, comments and preprocessor lines, applying the conditional ones; false at the end
// of the source.
bool skipSpace(Reader& in, Conditions& conditions) {
    while (!in.done()) {
        const char c = in.peek();
        if (c == '\n') {
            in.lineStart = true;
            in.skip();
        } else if (std::isspace(static_cast<unsigned char>(c)) != 0) {
            in.skip();
        } else if (c == '#' && in.lineStart) {
            const size_t start = in.at;
            in.skipLine();
            conditions.apply(in.since(start));
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
    for (std::string_view punctuator : LONG_PUNCTUATORS) {
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
    Conditions conditions;
    while (skipSpace(in, conditions)) {
        in.lineStart = false;
        const size_t start = in.at;
        const int line = in.line;
        const TokenKind kind = readToken(in);
        if (conditions.active()) {
            tokens.push_back({kind, std::string(in.since(start)), start, line});
        }
    }
    return tokens;
}

} // namespace mutator
