// What a teacher reads first: how many submissions ended each way, how their scores spread, and
// which cases the class failed most, so a case that trips most lists shows before any row does.
#include "classReports.h"
#include "pageParts.h"
#include "translate.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// Ten bins of ten points each, and a bin of its own for the submissions that passed everything.
constexpr int BINS = 11;
constexpr size_t MOST_FAILED = 10;

void writeCounts(FILE* file, const std::vector<Row>& rows) {
    size_t counts[STATUSES] = {};
    for (const Row& row : rows) {
        counts[static_cast<int>(row.status)]++;
    }
    fprintf(file, "<p class=\"counts\"><span class=\"tile\"><strong>%zu</strong> %s</span>",
            rows.size(), word("submissions").c_str());
    for (int i = 0; i < STATUSES; i++) {
        const char* name = statusName(static_cast<Status>(i));
        fprintf(file, " <span class=\"tile %s\"><strong>%zu</strong> %s</span>", name, counts[i],
                escapeHtml(statusWord(static_cast<Status>(i))).c_str());
    }
    fputs("</p>\n", file);
}

void writeHistogram(FILE* file, const std::vector<Row>& rows) {
    size_t bins[BINS] = {};
    for (const Row& row : rows) {
        if (!row.cases.empty()) {
            bins[std::min(BINS - 1, static_cast<int>(std::floor(scorePercent(row) / 10)))]++;
        }
    }
    const size_t most = std::max<size_t>(1, *std::max_element(bins, bins + BINS));
    fprintf(file, "<figure id=\"histogram\"><figcaption>%s</figcaption><table class=\"bars\">\n",
            word("Scores of the submissions that ran").c_str());
    for (int bin = 0; bin < BINS; bin++) {
        const std::string label =
            bin == BINS - 1 ? "100%"
                            : std::to_string(bin * 10) + "–" + std::to_string(bin * 10 + 9) + "%";
        fprintf(file,
                "<tr><th>%s</th><td><span class=\"bar\" style=\"width: %zuem\"></span> "
                "%zu</td></tr>\n",
                label.c_str(), bins[bin] * 12 / most, bins[bin]);
    }
    fputs("</table></figure>\n", file);
}

void writeMostFailed(FILE* file, const std::vector<Row>& rows) {
    std::vector<std::pair<std::string, size_t>> failures;
    for (const Row& row : rows) {
        for (const CaseVerdict& verdict : row.cases) {
            if (verdict.passed) {
                continue;
            }
            const auto known =
                std::find_if(failures.begin(), failures.end(), [&verdict](const auto& failure) {
                    return failure.first == verdict.name;
                });
            if (known == failures.end()) {
                failures.emplace_back(verdict.name, 1);
            } else {
                known->second++;
            }
        }
    }
    // The order the cases first failed in breaks ties, so the list reads the same every run.
    std::stable_sort(failures.begin(), failures.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    failures.resize(std::min(failures.size(), MOST_FAILED));
    fprintf(file, "<figure id=\"most-failed\"><figcaption>%s</figcaption>\n",
            word("Cases failed most often").c_str());
    if (failures.empty()) {
        fprintf(file, "<p>%s</p>", word("No case failed.").c_str());
    } else {
        fputs("<ol>\n", file);
        for (const auto& [name, count] : failures) {
            fprintf(file, "<li><span class=\"case\">%s</span> <strong>%zu</strong></li>\n",
                    escapeHtml(name).c_str(), count);
        }
        fputs("</ol>\n", file);
    }
    fputs("</figure>\n", file);
}

} // namespace

std::string word(const char* english) {
    return escapeHtml(tr(english));
}

std::string statusWord(Status status) {
    // Spelled out, so that the catalog's template finds each word.
    switch (status) {
    case Status::passed:
        return tr("passed");
    case Status::failed:
        return tr("failed");
    case Status::buildError:
        return tr("build-error");
    case Status::layoutError:
        return tr("layout-error");
    case Status::error:
        return tr("error");
    }
    return statusName(status);
}

void writeSummary(FILE* file, const std::vector<Row>& rows) {
    fprintf(file, "<section id=\"summary\">\n<h2>%s</h2>\n", word("Summary").c_str());
    writeCounts(file, rows);
    fputs("<div class=\"charts\">\n", file);
    writeHistogram(file, rows);
    writeMostFailed(file, rows);
    fputs("</div>\n</section>\n", file);
}
