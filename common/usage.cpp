#include "usage.h"

#include "version.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string usageText(const char* name, const Usage& usage) {
    std::string text = "Uso: ";
    text.append(name).append(usage.synopsis).append("\n").append(usage.text);
    return text;
}

// "what 'arg'", built by appending: gcc 12 at -O3 warns falsely of an overlap in "..." + string.
std::string quoting(std::string_view what, std::string_view arg) {
    std::string text(what);
    text.append(" '").append(arg).append("'");
    return text;
}

// Why an argument cannot stand where it does; empty when it is an operand the program takes.
std::string refusal(std::string_view arg, bool option, size_t operandsSoFar, size_t maxOperands) {
    if (option) {
        return quoting("opción desconocida", arg);
    }
    if (maxOperands == 0) {
        return quoting("no toma argumentos, recibió", arg);
    }
    if (operandsSoFar == maxOperands) {
        return quoting("argumento de más:", arg);
    }
    if (arg.empty()) {
        return "un argumento vacío no nombra ningún archivo";
    }
    return {};
}

} // namespace

const char* programName(int argc, char** argv, const char* fallback) {
    if (argc < 1 || argv[0] == nullptr || argv[0][0] == '\0') {
        return fallback;
    }
    const char* slash = std::strrchr(argv[0], '/');
    return slash != nullptr && slash[1] != '\0' ? slash + 1 : argv[0];
}

bool asksForHelp(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

int printVersion(const char* name) {
    std::printf("%s %s\n", name, kProjectVersion);
    return flushOutput() ? EXIT_OK : EXIT_FAILED;
}

int reportUsageError(const char* name, std::string_view reason, std::string_view usage) {
    std::fprintf(stderr, "%s: %.*s\n%.*s", name, static_cast<int>(reason.size()), reason.data(),
                 static_cast<int>(usage.size()), usage.data());
    return EXIT_USAGE;
}

std::optional<int> readCommandLine(int argc, char** argv, const char* fallbackName,
                                   const Usage& usage, size_t maxOperands,
                                   std::vector<const char*>& operands) {
    const char* name = programName(argc, argv, fallbackName);
    bool optionsEnded = false;
    for (int i = 1; i < argc; i++) {
        const std::string_view arg = argv[i];
        const bool option = !optionsEnded && arg.size() > 1 && arg.front() == '-';
        if (option && arg == "--") {
            optionsEnded = true;
        } else if (option && asksForHelp(arg)) {
            std::fputs(usageText(name, usage).c_str(), stdout);
            return flushOutput() ? EXIT_OK : EXIT_FAILED;
        } else if (option && arg == "--version") {
            return printVersion(name);
        } else if (const std::string reason = refusal(arg, option, operands.size(), maxOperands);
                   !reason.empty()) {
            return reportUsageError(name, reason, usageText(name, usage));
        } else {
            operands.push_back(argv[i]);
        }
    }
    return std::nullopt;
}
