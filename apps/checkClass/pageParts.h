#ifndef PAGE_PARTS_H
#define PAGE_PARTS_H

// The class page's parts, each in its own file: its fixed style and script, the columns it groups
// the cases into, and the summary it opens with. htmlReport.cpp puts them together.

#include "verdict.h"

#include <cstdio>
#include <string>
#include <vector>

// The page's style sheet and its script, written as they are inside <style> and <script>.
extern const char PAGE_STYLE[];
extern const char PAGE_SCRIPT[];

// A column of the page: the cases whose names share a group, in the order the class ran them.
struct CaseGroup {
    std::string name;
    bool extended = false;      // one of the groups only --extended runs
    bool firstExtended = false; // the first of those, where the page draws a divider
    std::vector<std::string> cases;
};

// The group of a case: its name without the "CaseNN" ending that the runner gives it, or the whole
// name where it has none.
std::string groupOf(const std::string& caseName);

// Every case of the class in its group, in the order the first submission to run each case ran
// it, the conformance groups before the extended ones.
std::vector<CaseGroup> caseGroups(const std::vector<Row>& rows);

// The text in the user's language, escaped for the page.
std::string word(const char* english);

// A status as the page shows it, in the user's language (the page's data and the CSV keep
// statusName's).
std::string statusWord(Status status);

// Writes the summary: the count of each status, a histogram of the scores of the submissions that
// ran, and the cases failed most often.
void writeSummary(FILE* file, const std::vector<Row>& rows);

#endif
