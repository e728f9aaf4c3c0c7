#include "mutants.h"

#include "cTokens.h"

#include <algorithm>
#include <set>

namespace mutator {

namespace {

const std::set<std::string, std::less<>> TYPE_WORDS = {
    "void",     "char",   "short",    "int",    "long",   "float",   "double", "signed",
    "unsigned", "const",  "volatile", "static", "struct", "enum",    "union",  "_Bool",
    "bool",     "size_t", "register", "extern", "inline", "typedef",
};
const std::set<std::string, std::less<>> CONTROL_WORDS = {
    "if",   "for",  "while",   "switch", "do",       "else",   "return",
    "case", "goto", "default", "break",  "continue", "sizeof",
};

bool isWord(const Token& token, std::string_view text) {
    return token.kind != TokenKind::literal && token.text == text;
}

// The tokens with what the mutations need to know of their places.
class Code {
  public:
    explicit Code(std::string_view source) : source(source), tokens(tokenize(source)) {
        std::vector<size_t> open;
        int depth = 0;
        match.assign(tokens.size(), npos);
        braceDepth.resize(tokens.size());
        headerEnd.assign(tokens.size(), false);
        for (size_t i = 0; i < tokens.size(); i++) {
            const std::string& text = tokens[i].text;
            if (tokens[i].kind == TokenKind::punctuator && (text == "}")) {
                depth--;
            }
            braceDepth[i] = depth;
            if (tokens[i].kind != TokenKind::punctuator) {
                continue;
            }
            if (text == "(" || text == "[" || text == "{") {
                open.push_back(i);
                depth += text == "{" ? 1 : 0;
            } else if ((text == ")" || text == "]" || text == "}") && !open.empty()) {
                match[i] = open.back();
                match[open.back()] = i;
                open.pop_back();
            }
        }
        // The ")" that closes the condition of an if, a while or a for starts a statement.
        for (size_t i = 0; i + 1 < tokens.size(); i++) {
            if ((isWord(tokens[i], "if") || isWord(tokens[i], "while") ||
                 isWord(tokens[i], "for")) &&
                isWord(tokens[i + 1], "(") && match[i + 1] != npos) {
                headerEnd[match[i + 1]] = true;
            }
        }
    }

    static constexpr size_t npos = static_cast<size_t>(-1);

    bool inBody(size_t i) const {
        return braceDepth[i] >= 1;
    }
    size_t end(size_t i) const {
        return tokens[i].offset + tokens[i].text.size();
    }
    // The source text of tokens first..last, blanks and line ends joined into single blanks.
    std::string text(size_t first, size_t last) const {
        std::string out;
        const std::string_view raw =
            source.substr(tokens[first].offset, end(last) - tokens[first].offset);
        for (char c : raw) {
            const bool blank = c == ' ' || c == '\n' || c == '\t' || c == '\r';
            if (!blank || (!out.empty() && out.back() != ' ')) {
                out += blank ? ' ' : c;
            }
        }
        return out;
    }
    // Whether token i can end an operand, so that an operator after it is binary.
    bool endsOperand(size_t i) const {
        const Token& token = tokens[i];
        return token.kind == TokenKind::number || token.kind == TokenKind::literal ||
               (token.kind == TokenKind::name && CONTROL_WORDS.count(token.text) == 0 &&
                TYPE_WORDS.count(token.text) == 0) ||
               token.text == ")" || token.text == "]";
    }

    std::string_view source;
    std::vector<Token> tokens;
    std::vector<size_t> match;   // the other bracket of a bracket
    std::vector<int> braceDepth; // braces open around the token
    std::vector<bool> headerEnd; // the ")" of a control statement's condition
};

// Collects the mutants, each replacing tokens first..last with a text.
class Collector {
  public:
    explicit Collector(const Code& code) : code(code) {}

    void replace(size_t first, size_t last, const std::string& kind, const std::string& after) {
        const std::string before = code.text(first, last);
        add(first, last, kind + ": '" + shorten(before) + "' -> '" + shorten(after) + "'", after);
    }
    void drop(size_t first, size_t last, const std::string& kind) {
        add(first, last, kind + ": '" + shorten(code.text(first, last)) + "'", ";");
    }

    std::vector<Mutant> mutants;

  private:
    static std::string shorten(const std::string& text) {
        return text.size() <= 60 ? text : text.substr(0, 57) + "...";
    }
    void add(size_t first, size_t last, const std::string& description, const std::string& after) {
        const size_t offset = code.tokens[first].offset;
        mutants.push_back(
            {code.tokens[first].line, description, {{offset, code.end(last) - offset, after}}});
    }

    const Code& code;
};

void relational(const Code& code, size_t i, Collector& out) {
    static const std::pair<std::string_view, std::string_view> SWAPS[] = {
        {"<", "<="}, {"<=", "<"}, {">", ">="}, {">=", ">"}, {"==", "!="}, {"!=", "=="},
    };
    for (const auto& [from, to] : SWAPS) {
        if (isWord(code.tokens[i], from)) {
            out.replace(i, i, "relational", std::string(to));
        }
    }
}

void arithmetic(const Code& code, size_t i, Collector& out) {
    static const std::pair<std::string_view, std::string_view> SWAPS[] = {
        {"+", "-"},   {"-", "+"},   {"*", "/"},   {"/", "*"},   {"%", "*"},
        {"++", "--"}, {"--", "++"}, {"+=", "-="}, {"-=", "+="},
    };
    const Token& token = code.tokens[i];
    if (token.kind != TokenKind::punctuator) {
        return;
    }
    const bool binary = i > 0 && code.endsOperand(i - 1);
    // A "*" after a name may declare a pointer: taken for a product only after a number or a
    // bracket, or between a lower-case name and an operand.
    const bool product =
        i > 0 && i + 1 < code.tokens.size() &&
        (code.tokens[i - 1].kind == TokenKind::number || code.tokens[i - 1].text == ")" ||
         code.tokens[i - 1].text == "]" ||
         (binary && std::islower(static_cast<unsigned char>(code.tokens[i - 1].text[0])) != 0 &&
          code.tokens[i + 1].kind != TokenKind::punctuator));
    for (const auto& [from, to] : SWAPS) {
        const bool needsBinary = from.size() == 1;
        if (token.text == from && (!needsBinary || binary) && (from != "*" || product)) {
            out.replace(i, i, "arithmetic", std::string(to));
        }
    }
}

void constant(const Code& code, size_t i, Collector& out) {
    const std::string& digits = code.tokens[i].text;
    if (code.tokens[i].kind != TokenKind::number || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
        (digits.size() > 1 && digits[0] == '0')) {
        return;
    }
    const long value = std::stol(digits);
    out.replace(i, i, "constant", std::to_string(value + 1));
    out.replace(i, i, "constant", value > 0 ? std::to_string(value - 1) : "(-1)");
}

// The first token of the operand that ends at token last: a name with its member accesses,
// indices and calls.
size_t operandStart(const Code& code, size_t last) {
    size_t i = last;
    for (;;) {
        while ((code.tokens[i].text == ")" || code.tokens[i].text == "]") &&
               code.match[i] != Code::npos && code.match[i] > 0) {
            i = code.match[i] - 1;
        }
        if (code.tokens[i].kind != TokenKind::name || i < 2 ||
            (code.tokens[i - 1].text != "->" && code.tokens[i - 1].text != ".")) {
            return i;
        }
        i -= 2;
    }
}

// "x == NULL" becomes 0 and "x != NULL" 1, as if the test were not there; so does "!x".
void nullTest(const Code& code, size_t i, Collector& out) {
    const auto& tokens = code.tokens;
    const bool compares = isWord(tokens[i], "==") || isWord(tokens[i], "!=");
    if (compares && i > 0 && i + 1 < tokens.size() && isWord(tokens[i + 1], "NULL")) {
        out.replace(operandStart(code, i - 1), i + 1, "NULL test dropped",
                    tokens[i].text == "==" ? "0" : "1");
    }
    if (isWord(tokens[i], "!") && i + 1 < tokens.size() && tokens[i + 1].kind == TokenKind::name) {
        size_t last = i + 1;
        while (last + 2 < tokens.size() &&
               (tokens[last + 1].text == "->" || tokens[last + 1].text == ".") &&
               tokens[last + 2].kind == TokenKind::name) {
            last += 2;
        }
        if (last + 1 < tokens.size() && tokens[last + 1].text != "(") {
            out.replace(i, last, "NULL test dropped", "0");
        }
    }
}

void narrower(const Code& code, size_t i, Collector& out) {
    const auto& tokens = code.tokens;
    auto word = [&](size_t at, std::string_view text) {
        return at < tokens.size() && isWord(tokens[at], text);
    };
    const bool modified = i > 0 && (word(i - 1, "unsigned") || word(i - 1, "signed") ||
                                    word(i - 1, "long") || word(i - 1, "short"));
    if ((word(i, "int") && !modified && !word(i + 1, "long") && !word(i + 1, "short")) ||
        word(i, "size_t")) {
        out.replace(i, i, "narrower type", "short");
        out.replace(i, i, "narrower type", "unsigned short");
    } else if (word(i, "long") && !modified) {
        const size_t last = word(i + 1, "long") ? i + 1 : i;
        if (!word(last + 1, "double")) {
            out.replace(i, last + (word(last + 1, "int") ? 1 : 0), "narrower type", "int");
        }
    }
}

// Adjacent arguments of a call swapped, where they differ.
void swappedArguments(const Code& code, size_t i, Collector& out) {
    const auto& tokens = code.tokens;
    if (tokens[i].kind != TokenKind::name || CONTROL_WORDS.count(tokens[i].text) != 0 ||
        TYPE_WORDS.count(tokens[i].text) != 0 || i + 1 >= tokens.size() ||
        !isWord(tokens[i + 1], "(") || code.match[i + 1] == Code::npos ||
        code.match[i + 1] <= i + 2) {
        return;
    }
    std::vector<std::pair<size_t, size_t>> arguments;
    size_t start = i + 2;
    for (size_t j = i + 2; j <= code.match[i + 1]; j++) {
        if (j == code.match[i + 1] || isWord(tokens[j], ",")) {
            arguments.emplace_back(start, j - 1);
            start = j + 1;
        } else if (code.match[j] != Code::npos && code.match[j] > j) {
            j = code.match[j];
        }
    }
    for (size_t k = 0; k + 1 < arguments.size(); k++) {
        const auto [firstA, lastA] = arguments[k];
        const auto [firstB, lastB] = arguments[k + 1];
        const std::string a = code.text(firstA, lastA);
        const std::string b = code.text(firstB, lastB);
        if (firstA <= lastA && firstB <= lastB && a != b) {
            out.replace(firstA, lastB, "arguments swapped", b + ", " + a);
        }
    }
}

// Whether a statement that starts with tokens i, i+1, ... declares something.
bool declares(const Code& code, size_t i) {
    const auto& tokens = code.tokens;
    if (TYPE_WORDS.count(tokens[i].text) != 0) {
        return true;
    }
    if (CONTROL_WORDS.count(tokens[i].text) != 0) {
        return false;
    }
    size_t next = i + 1;
    while (next < tokens.size() && isWord(tokens[next], "*")) {
        next++;
    }
    return tokens[i].kind == TokenKind::name && next < tokens.size() &&
           tokens[next].kind == TokenKind::name;
}

// A statement dropped, and a return's value changed to 0.
void statement(const Code& code, size_t i, Collector& out) {
    const auto& tokens = code.tokens;
    const Token& previous = tokens[i - 1];
    const bool starts = isWord(previous, ";") || isWord(previous, "{") || isWord(previous, "}") ||
                        isWord(previous, "else") || code.headerEnd[i - 1];
    if (!starts || tokens[i].kind == TokenKind::punctuator || declares(code, i)) {
        return;
    }
    size_t last = i;
    while (last < tokens.size() && !isWord(tokens[last], ";")) {
        if (isWord(tokens[last], "{") || isWord(tokens[last], "}")) {
            return; // not a simple statement
        }
        const size_t other = code.match[last];
        last = other != Code::npos && other > last ? other + 1 : last + 1;
    }
    if (last >= tokens.size()) {
        return;
    }
    const std::string& word = tokens[i].text;
    if (word == "return") {
        const bool valued = last > i + 1;
        const std::string value = code.text(i + 1, last - 1);
        if (valued && value != "0" && value != "NULL") {
            out.replace(i, last, "return value", "return 0;");
        }
        // A function's closing return dropped would let it run off its end, which C leaves
        // undefined when the caller reads the result: no check could tell what it gives.
        const bool closing = last + 1 < tokens.size() && isWord(tokens[last + 1], "}") &&
                             code.braceDepth[last + 1] == 0;
        if (!closing || !valued) {
            out.drop(i, last, "return dropped");
        }
    } else if (word == "break" || word == "continue" || CONTROL_WORDS.count(word) == 0) {
        out.drop(i, last, "statement dropped");
    }
}

} // namespace

std::vector<Mutant> mutantsOf(std::string_view source) {
    const Code code(source);
    Collector out(code);
    for (size_t i = 1; i < code.tokens.size(); i++) {
        if (!code.inBody(i)) {
            continue;
        }
        statement(code, i, out);
        nullTest(code, i, out);
        relational(code, i, out);
        arithmetic(code, i, out);
        constant(code, i, out);
        narrower(code, i, out);
        swappedArguments(code, i, out);
    }
    return std::move(out.mutants);
}

std::string apply(std::string_view source, const Mutant& mutant) {
    std::string text(source);
    std::vector<Edit> edits = mutant.edits;
    std::sort(edits.begin(), edits.end(),
              [](const Edit& a, const Edit& b) { return a.offset > b.offset; });
    for (const Edit& edit : edits) {
        const std::string_view replaced = source.substr(edit.offset, edit.length);
        const std::string lineEnds(std::count(replaced.begin(), replaced.end(), '\n'), '\n');
        text.replace(edit.offset, edit.length, edit.text + lineEnds);
    }
    return text;
}

} // namespace mutator
