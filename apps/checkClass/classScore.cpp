// A submission's score, the one number the page and the CSV both show and sort by.
#include "classReports.h"

#include <cmath>
#include <cstdio>

double scorePercent(const Row& row) {
    double points = 0;
    double total = 0;
    for (const CaseVerdict& verdict : row.cases) {
        points += verdict.passed ? verdict.maxScore : 0;
        total += verdict.maxScore;
    }
    if (total > 0) {
        return 100 * points / total;
    }
    // Cases that weigh nothing at all still tell how much of the list works.
    return row.cases.empty()
               ? 0
               : 100.0 * static_cast<double>(row.passed()) / static_cast<double>(row.cases.size());
}

std::string percentText(double percent) {
    char text[32];
    snprintf(text, sizeof text, "%g", std::round(percent * 10) / 10);
    return text;
}
