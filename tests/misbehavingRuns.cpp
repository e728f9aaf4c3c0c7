// Running probeRunner built against the misbehaving list.
#include "misbehavingRuns.h"

#include <sstream>

namespace misbehaving {

std::string runnerPath(const std::string& misbehaviour) {
    return std::string(MISBEHAVING_DIR) + "/probeRunner_" + misbehaviour;
}

console::Run runMisbehaving(const std::string& misbehaviour, std::vector<std::string> arguments) {
    const ScopedEnv asan("ASAN_OPTIONS", "handle_segv=0");
    arguments.insert(arguments.begin(), runnerPath(misbehaviour));
    return console::runProgram(arguments);
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> failLines(const std::string& output) {
    std::vector<std::string> fails;
    for (const std::string& line : linesOf(output)) {
        if (line.starts_with("FAIL ")) {
            fails.push_back(line);
        }
    }
    return fails;
}

} // namespace misbehaving
