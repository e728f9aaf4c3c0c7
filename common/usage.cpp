// The command line every program reads, from its table of options.
#include "usage.h"

#include "numbers.h"
#include "translate.h"
#include "version.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace {

// Where the help's options start, and where the lines that describe them start.
constexpr size_t INDENT = 2;
constexpr size_t HELP_COLUMN = 21;

const Option HELP = {"--help", "-h", Takes::nothing, nullptr, nullptr};
const Option VERSION_OPTION = {"--version", "", Takes::nothing, nullptr, nullptr};

// format with each "%s" in turn replaced by the next of values: a translation keeps their order.
std::string fill(const char* format, std::initializer_list<std::string_view> values) {
    std::string text = format;
    size_t at = 0;
    for (const std::string_view value : values) {
        at = text.find("%s", at);
        if (at == std::string::npos) {
            break;
        }
        text.replace(at, 2, value);
        at += value.size();
    }
    return text;
}

// One option's lines of the help.
std::string helpOf(const Option& option, const char* help) {
    std::string names(option.name);
    if (!option.alias.empty()) {
        names.append(", ").append(option.alias);
    }
    if (option.value != nullptr) {
        names.append(" ").append(option.value);
    }
    std::string text(INDENT, ' ');
    text += names;
    text.append(INDENT + names.size() < HELP_COLUMN ? HELP_COLUMN - INDENT - names.size() : 1, ' ');
    for (const char* c = help; *c != '\0'; c++) {
        text += *c;
        if (*c == '\n') {
            text.append(HELP_COLUMN, ' ');
        }
    }
    return text + '\n';
}

bool named(const Option& option, std::string_view name) {
    return name == option.name || (!option.alias.empty() && name == option.alias);
}

// The name a program was started under: the last part of argv[0], or fallback when there is none.
const char* programName(int argc, char** argv, const char* fallback) {
    if (argc < 1 || argv[0] == nullptr || argv[0][0] == '\0') {
        return fallback;
    }
    const char* slash = std::strrchr(argv[0], '/');
    return slash != nullptr && slash[1] != '\0' ? slash + 1 : argv[0];
}

} // namespace

CommandLine::CommandLine(const Program& program, int argc, char** argv)
    : program_(program), argc_(argc), argv_(argv),
      name_(program.namedByArgv0 ? programName(argc, argv, program.name) : program.name) {}

const char* CommandLine::words(const char* english, const char* spanish) const {
    return program_.speaks == Speaks::spanish ? spanish : tr(english);
}

std::string CommandLine::usage() const {
    const auto text = [this](const char* english) {
        return program_.speaks == Speaks::spanish ? english : tr(english);
    };
    std::string all = fill(words("Usage: %s", "Uso: %s"), {name_});
    all.append(text(program_.synopsis)).append("\n").append(text(program_.about));
    all += words("Options:\n", "Opciones:\n");
    for (const Option& option : program_.options) {
        all += helpOf(option, text(option.help));
    }
    all += helpOf(HELP, words("show this help", "muestra esta ayuda"));
    all += helpOf(VERSION_OPTION, words("show the version", "muestra la versión"));
    return all + text(program_.closing);
}

int CommandLine::refuse(std::string_view reason) const {
    std::fflush(stdout);
    const std::string text = usage();
    std::fprintf(stderr, "%s: %.*s\n%s", name_, static_cast<int>(reason.size()), reason.data(),
                 text.c_str());
    return EXIT_USAGE;
}

std::string CommandLine::numberRefusal(const Option& option, std::string_view text) const {
    if (option.takes == Takes::seconds) {
        return fill(words("option '%s' takes seconds above 0 and at most %s, in decimal digits "
                          "with an optional fraction such as 0.5, not '%s'",
                          "la opción '%s' toma segundos por encima de 0 y hasta %s, en dígitos "
                          "decimales con una fracción opcional como 0.5, no '%s'"),
                    {option.name, std::to_string(option.most), text});
    }
    return fill(words("option '%s' takes a whole number from %s to %s in decimal digits, not '%s'",
                      "la opción '%s' toma un número entero de %s a %s en dígitos decimales, no "
                      "'%s'"),
                {option.name, std::to_string(option.least), std::to_string(option.most), text});
}

// Why arg cannot be the program's next operand, when it already has count; nullptr when it can.
const char* CommandLine::operandRefusal(std::string_view arg, size_t count) const {
    if (program_.maxOperands == 0) {
        return words("takes no arguments, got '%s'", "no toma argumentos, recibió '%s'");
    }
    if (count == program_.maxOperands) {
        return words("one argument too many: '%s'", "argumento de más: '%s'");
    }
    if (arg.empty()) {
        return words("an empty argument names no file",
                     "un argumento vacío no nombra ningún archivo");
    }
    return nullptr;
}

// Help and version win wherever they stand before "--".
std::optional<int> CommandLine::answerAsked() const {
    for (int i = 1; i < argc_ && std::string_view(argv_[i]) != "--"; i++) {
        if (named(HELP, argv_[i])) {
            std::fputs(usage().c_str(), stdout);
            return flushOutput() ? EXIT_OK : EXIT_FAILED;
        }
        if (named(VERSION_OPTION, argv_[i])) {
            std::printf("%s %s\n", name_, REGISTRO_VERSION);
            return flushOutput() ? EXIT_OK : EXIT_FAILED;
        }
    }
    return std::nullopt;
}

std::string CommandLine::take(const Option& option, std::string_view text,
                              const ApplyOption& apply) const {
    Given given{option, text};
    if (option.takes == Takes::whole) {
        const auto number = readWhole(text, option.least, option.most);
        if (!number) {
            return numberRefusal(option, text);
        }
        given.whole = *number;
    } else if (option.takes == Takes::seconds) {
        const auto number = readSeconds(text, static_cast<double>(option.most));
        if (!number) {
            return numberRefusal(option, text);
        }
        given.seconds = *number;
    }
    return apply(given);
}

std::optional<int> CommandLine::read(const ApplyOption& apply,
                                     std::vector<const char*>& operands) const {
    if (const auto answer = answerAsked()) {
        return answer;
    }
    bool optionsEnded = false;
    for (int i = 1; i < argc_; i++) {
        std::string_view arg = argv_[i];
        if (optionsEnded || arg.size() < 2 || arg.front() != '-') {
            const char* refusal =
                optionsEnded && program_.passOn ? nullptr : operandRefusal(arg, operands.size());
            if (refusal != nullptr) {
                return refuse(fill(refusal, {arg}));
            }
            operands.push_back(argv_[i]);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::optional<std::string_view> value;
        if (const size_t equals = arg.find('='); equals != std::string_view::npos) {
            value = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
        }
        const Option* option = nullptr;
        for (const Option& candidate : program_.options) {
            option = option == nullptr && named(candidate, arg) ? &candidate : option;
        }
        if (option == nullptr && (named(HELP, arg) || named(VERSION_OPTION, arg))) {
            return refuse(
                fill(words("option '%s' takes no value", "la opción '%s' no toma valor"), {arg}));
        }
        if (option == nullptr) {
            return refuse(
                fill(words("unknown option '%s'", "opción desconocida '%s'"), {argv_[i]}));
        }
        if (option->takes == Takes::nothing && value) {
            return refuse(
                fill(words("option '%s' takes no value", "la opción '%s' no toma valor"), {arg}));
        }
        if (option->takes != Takes::nothing && !value) {
            if (i + 1 == argc_) {
                return refuse(fill(
                    words("option '%s' needs a value", "la opción '%s' necesita un valor"), {arg}));
            }
            value = argv_[++i];
        }
        if (const std::string refusal = take(*option, value.value_or(""), apply);
            !refusal.empty()) {
            return refuse(refusal);
        }
    }
    return std::nullopt;
}
