// The page's columns: a group of cases each, so that even the extended checks fit a screen.
#include "pageParts.h"

#include "extendedGroups.h"

#include <algorithm>
#include <regex>
#include <set>

namespace {

// The groups the runner runs only with --extended.
bool extended(const std::string& group) {
    return std::find(std::begin(EXTENDED_GROUPS), std::end(EXTENDED_GROUPS), group) !=
           std::end(EXTENDED_GROUPS);
}

} // namespace

std::string groupOf(const std::string& caseName) {
    static const std::regex NUMBERED("(.+)Case[0-9]+");
    std::smatch match;
    return std::regex_match(caseName, match, NUMBERED) ? match[1].str() : caseName;
}

std::vector<CaseGroup> caseGroups(const std::vector<Row>& rows) {
    std::vector<CaseGroup> groups;
    std::set<std::string> seen;
    for (const Row& row : rows) {
        for (const CaseVerdict& verdict : row.cases) {
            if (!seen.insert(verdict.name).second) {
                continue;
            }
            const std::string name = groupOf(verdict.name);
            auto group = std::find_if(groups.begin(), groups.end(),
                                      [&name](const CaseGroup& g) { return g.name == name; });
            if (group == groups.end()) {
                group = groups.insert(groups.end(), {name, extended(name), false, {}});
            }
            group->cases.push_back(verdict.name);
        }
    }
    const auto extendedOnes = std::stable_partition(
        groups.begin(), groups.end(), [](const CaseGroup& group) { return !group.extended; });
    if (extendedOnes != groups.end()) {
        extendedOnes->firstExtended = true;
    }
    return groups;
}
