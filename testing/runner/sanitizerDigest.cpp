// Cutting a sanitizer report down to the list's own frames.
#include "sanitizerDigest.h"

#include <regex>

namespace {

// A stack frame: "    #3 0x55d1c0 in FUNCTION FILE:LINE[:COLUMN]".
const std::regex& stackFrame() {
    static const std::regex frame(R"(\s*#\d+ 0x[0-9a-f]+ in (.+) (\S+?):(\d+)(?::\d+)?)");
    return frame;
}

// The report's first line: from "ERROR: " on, or a line with "runtime error:".
std::string firstLine(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        if (const size_t error = line.find("ERROR: "); error != std::string::npos) {
            return line.substr(error);
        }
        if (line.find("runtime error:") != std::string::npos) {
            return line;
        }
    }
    return lines.empty() ? "" : lines.front();
}

std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        lines.emplace_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

} // namespace

std::string SanitizerDigest::relative(std::string text) const {
    const std::string prefix = folder_ + "/";
    for (size_t at = text.find(prefix); !folder_.empty() && at != std::string::npos;
         at = text.find(prefix, at)) {
        text.erase(at, prefix.size());
    }
    return text;
}

std::vector<std::string> SanitizerDigest::digest(const std::string& probeCase,
                                                 std::string_view report) {
    const std::vector<std::string> lines = linesOf(report);
    std::vector<std::string> shown = {relative(firstLine(lines))};
    std::string heading; // the line above the stack being read
    bool inStack = false;
    std::smatch frame;
    for (const std::string& line : lines) {
        if (!std::regex_match(line, frame, stackFrame())) {
            heading = line;
            inStack = false;
            continue;
        }
        const std::string file = frame[2];
        if (folder_.empty() || !file.starts_with(folder_ + "/")) {
            continue;
        }
        if (!inStack && !heading.empty() && heading != lines.front() &&
            heading.find("ERROR: ") == std::string::npos) {
            shown.push_back(relative(heading));
        }
        inStack = true;
        shown.push_back("  " + relative(file) + ":" + frame[3].str() + " in " + frame[1].str());
    }
    if (shown.size() == 1) {
        shown.emplace_back("no frame in the list's own files (--verbose shows the whole report)");
    }
    // Addresses differ from case to case; the same bug at the same places is the same report.
    std::string key;
    for (const std::string& line : shown) {
        key += std::regex_replace(line, std::regex("0x[0-9a-f]+"), "0x?") + "\n";
    }
    // Each output of a case asks for its digest: the case that gave a report first gets it whole
    // every time.
    const auto [first, isNew] = seen_.emplace(key, probeCase);
    if (!isNew && first->second != probeCase) {
        return {shown.front(),
                "the same report as for " + first->second + " (--verbose shows it again)"};
    }
    return shown;
}
