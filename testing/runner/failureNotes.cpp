// The lines that point at the bug under a failed case.
#include "failureNotes.h"

#include <algorithm>
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

// True when the value a call returned is the value an assertion line shows; a pointer in the
// plain forms shows as its lowest 32 bits.
bool shows(long long got, const std::string& shown) {
    const auto value = valueOf(shown);
    return value && (got == *value || (shown.starts_with("0x") && (got & 0xffffffffLL) == *value));
}

// The name the case gave the address an assertion shows as text, or "".
std::string nameShown(const Outcome& outcome, const std::string& shown) {
    if (!shown.starts_with("0x")) {
        return "";
    }
    for (auto named = outcome.names.rbegin(); named != outcome.names.rend(); ++named) {
        if (shows(static_cast<long long>(named->address), shown)) {
            return named->name;
        }
    }
    return "";
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
    const long long result = outcome.trail.back().value;
    std::vector<std::string> values = check->values;
    const std::string& line = check->line;
    if (values.size() == 2 && line.starts_with("assert equals failed")) {
        const bool left = shows(result, values[0]);
        const bool right = shows(result, values[1]);
        if (left != right) {
            const std::string answer = withNames(values[left ? 0 : 1], outcome);
            const std::string expected = withNames(values[left ? 1 : 0], outcome);
            return "the list's answer is '" + answer + "', the expected value '" + expected + "'";
        }
    } else if (values.size() == 2 && line.starts_with("assert not equals failed") &&
               shows(result, values[0])) {
        return "the list's answer is '" + withNames(values[0], outcome) +
               "', the one value the case rules out";
    } else if (values.size() == 1 && line.starts_with("assert null failed") &&
               shows(result, values[0])) {
        return "the list's answer is '" + withNames(values[0], outcome) +
               "', where the case expected NULL";
    } else if (values.size() == 1 && line.starts_with("assert not null failed") && result == 0) {
        return "the list's answer is NULL, where the case expected an address";
    }
    return "";
}

// ", and sub was made by ll_subList(list, 1, 4)": a call's list, when another call made it; a
// new list made empty is no suspect.
std::string madeBy(const TrailCall& call) {
    if (call.listMadeBy.empty() || call.listMadeBy.starts_with("ll_newLinkedList(")) {
        return "";
    }
    return ", and " + call.list + " was made by " + call.listMadeBy;
}

// How far back the calls an address a failed check shows came from are looked for: the calls of
// the check itself and of the few lines before it.
constexpr size_t SOURCES_SOUGHT = 8;

// Where the wrong value came from: the call a case's table row found wrong; else the calls that
// last returned the values the failed check shows, where that says more than the trail line (an
// older call, or a list another call made). "" when no call can be named.
std::string sourceLine(const Outcome& outcome) {
    const std::vector<TrailCall>& trail = outcome.trail;
    if (outcome.blamed >= 0) {
        const TrailCall& call = trail[static_cast<size_t>(outcome.blamed)];
        return "the wrong value came from " + call.call + ", which returned " + call.result +
               madeBy(call);
    }
    const auto check = failedCheck(outcome.report);
    if (!check) {
        return "";
    }
    std::string line;
    bool saysMore = false;
    std::vector<size_t> named;
    for (const std::string& value : check->values) {
        // Null names nothing; a number is as likely a constant of the case: only the last call
        // answers for it.
        if (valueOf(value).value_or(0) == 0 && value != "0") {
            continue;
        }
        const size_t sought = value.starts_with("0x") ? SOURCES_SOUGHT : 1;
        for (size_t i = trail.size(); i > 0 && trail.size() - i < sought; i--) {
            const TrailCall& call = trail[i - 1];
            if (call.result.empty() || !shows(call.value, value)) {
                continue;
            }
            if (std::find(named.begin(), named.end(), i - 1) == named.end()) {
                named.push_back(i - 1);
                saysMore = saysMore || i < trail.size() || !madeBy(call).empty();
                line += (line.empty() ? "'" : "; '") + withNames(value, outcome) + "' came from " +
                        call.call + madeBy(call);
            }
            break;
        }
    }
    return saysMore ? line : "";
}

// How many calls the trail line names at most.
constexpr size_t CALLS_SHOWN = 4;

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
    for (size_t i = calls.size() > CALLS_SHOWN ? calls.size() - CALLS_SHOWN : 0; i < calls.size();
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

std::string withNames(const std::string& text, const Outcome& outcome) {
    if (text.find('\'') == std::string::npos) {
        const std::string name = nameShown(outcome, text);
        return name.empty() ? text : name;
    }
    std::string named;
    size_t at = 0;
    for (size_t open = text.find('\''); open != std::string::npos; open = text.find('\'', at)) {
        const size_t close = text.find('\'', open + 1);
        if (close == std::string::npos) {
            break;
        }
        const std::string value = text.substr(open + 1, close - open - 1);
        const std::string name = nameShown(outcome, value);
        named += text.substr(at, open + 1 - at) + (name.empty() ? value : name) + "'";
        at = close + 1;
    }
    return named + text.substr(at);
}

std::vector<std::string> failureNotes(const Outcome& outcome) {
    std::vector<std::string> notes;
    if (outcome.ending == Ending::passed) {
        return notes;
    }
    if (std::string trail = trailLine(outcome.trail); !trail.empty()) {
        notes.push_back(std::move(trail));
    }
    if (outcome.ending == Ending::assertion) {
        if (std::string which = outcome.blamed < 0 ? whichIsWhich(outcome) : ""; !which.empty()) {
            notes.push_back(std::move(which));
        }
        if (std::string source = sourceLine(outcome); !source.empty()) {
            notes.push_back(std::move(source));
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
