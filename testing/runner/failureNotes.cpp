// The lines that point at the bug under a failed case.
#include "failureNotes.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

// A value as the wrappers or the assertion lines show it: a decimal number, "0x" and hex digits,
// "NULL" or "(nil)"; nothing for any other text (a float, a string).
std::optional<long long> valueOf(const std::string& text) {
    if (text == "NULL" || text == "(nil)") {
        return 0;
    }
    const bool hex = text.starts_with("0x");
    const char* start = text.c_str() + (hex ? 2 : 0);
    char* end = nullptr;
    errno = 0;
    const long long value =
        hex ? static_cast<long long>(strtoull(start, &end, 16)) : strtoll(start, &end, 10);
    if (end == start || *end != '\0' || errno != 0) {
        return std::nullopt;
    }
    return value;
}

// True when the result of a call is the value an assertion line shows; a pointer in the plain
// forms shows as its lowest 32 bits.
bool shows(const std::string& result, const std::string& shown) {
    const auto got = valueOf(result);
    const auto value = valueOf(shown);
    if (!got || !value) {
        return false;
    }
    return *got == *value || (shown.starts_with("0x") && (*got & 0xffffffffLL) == *value);
}

// The last line of the case's report that an assertion wrote, and the values it quotes.
struct FailedCheck {
    std::string line;
    std::vector<std::string> values;
};

std::optional<FailedCheck> failedCheck(std::string_view report) {
    std::optional<FailedCheck> found;
    while (!report.empty()) {
        const size_t end = std::min(report.find('\n'), report.size());
        std::string_view line = report.substr(0, end);
        report.remove_prefix(std::min(end + 1, report.size()));
        if (!line.starts_with("assert ")) {
            continue;
        }
        found = FailedCheck{std::string(line), {}};
        for (size_t open = line.find('\''); open != std::string_view::npos;) {
            const size_t close = line.find('\'', open + 1);
            if (close == std::string_view::npos) {
                break;
            }
            found->values.emplace_back(line.substr(open + 1, close - open - 1));
            open = line.find('\'', close + 1);
        }
    }
    return found;
}

// Which of the failed check's values is the list's answer, when the result of the case's last
// call is one of them: "" when that cannot be told.
std::string whichIsWhich(const Outcome& outcome) {
    const auto check = failedCheck(outcome.report);
    if (!check || outcome.trail.empty() || outcome.trail.back().result.empty()) {
        return "";
    }
    const std::string& result = outcome.trail.back().result;
    const std::vector<std::string>& values = check->values;
    const std::string& line = check->line;
    if (values.size() == 2 && line.starts_with("assert equals failed")) {
        const bool left = shows(result, values[0]);
        const bool right = shows(result, values[1]);
        if (left != right) {
            const std::string& answer = values[left ? 0 : 1];
            const std::string& expected = values[left ? 1 : 0];
            return "the list's answer is '" + answer + "', the expected value '" + expected + "'";
        }
    } else if (values.size() == 2 && line.starts_with("assert not equals failed") &&
               shows(result, values[0])) {
        return "the list's answer is '" + values[0] + "', the one value the case rules out";
    } else if (values.size() == 1 && line.starts_with("assert null failed") &&
               shows(result, values[0])) {
        return "the list's answer is '" + values[0] + "', where the case expected NULL";
    } else if (values.size() == 1 && line.starts_with("assert not null failed") &&
               valueOf(result) == 0) {
        return "the list's answer is NULL, where the case expected an address";
    }
    return "";
}

// How many calls the trail line names at most.
constexpr size_t kCallsShown = 4;

// "after A returned a, then B returned b": the last calls that returned, oldest first, a call
// repeated with the same result (as an assertion repeats it to report) told once.
std::string trailLine(const std::vector<TrailCall>& trail) {
    std::vector<std::string> calls;
    for (size_t i = 0; i < trail.size() && !trail[i].result.empty();) {
        size_t same = i + 1;
        while (same < trail.size() && trail[same].call == trail[i].call &&
               trail[same].result == trail[i].result) {
            same++;
        }
        std::string call = trail[i].call + " returned " + trail[i].result;
        if (same - i > 1) {
            call += same - i == 2 ? " (twice)" : " (" + std::to_string(same - i) + " times)";
        }
        calls.push_back(std::move(call));
        i = same;
    }
    std::string line;
    for (size_t i = calls.size() > kCallsShown ? calls.size() - kCallsShown : 0; i < calls.size();
         i++) {
        line += (line.empty() ? "after " : ", then ") + calls[i];
    }
    return line;
}

std::string blocksText(long blocks, long bytes) {
    return std::to_string(blocks) + (blocks == 1 ? " block (" : " blocks (") +
           std::to_string(bytes) + (bytes == 1 ? " byte)" : " bytes)");
}

// Where the blocks a case left behind were allocated.
std::string leftBehindLine(const Outcome& outcome) {
    std::string line = "left behind:";
    for (const BlocksFrom& group : outcome.leftBehind) {
        line += (line.back() == ':' ? " " : "; ") + blocksText(group.blocks, group.bytes) +
                (group.call.empty() ? " allocated outside any list call"
                                    : " allocated in " + group.call);
    }
    if (outcome.leftBehindGroups > outcome.leftBehind.size()) {
        line += "; and blocks of " +
                std::to_string(outcome.leftBehindGroups - outcome.leftBehind.size()) +
                " more calls";
    }
    return line;
}

} // namespace

std::vector<std::string> failureNotes(const Outcome& outcome) {
    std::vector<std::string> notes;
    if (outcome.ending == Ending::passed) {
        return notes;
    }
    if (std::string trail = trailLine(outcome.trail); !trail.empty()) {
        notes.push_back(std::move(trail));
    }
    if (outcome.ending == Ending::assertion) {
        if (std::string which = whichIsWhich(outcome); !which.empty()) {
            notes.push_back(std::move(which));
        }
    }
    if (outcome.ending == Ending::leak && !outcome.leftBehind.empty()) {
        notes.push_back(leftBehindLine(outcome));
    }
    if (outcome.foreignFrees > 0) {
        notes.push_back("the case frees the nodes past size itself, so every node must be a block "
                        "of its own from malloc; " +
                        std::to_string(outcome.foreignFrees) +
                        (outcome.foreignFrees == 1 ? " such free was" : " such frees were") +
                        " not passed on to the C library");
    }
    return notes;
}
