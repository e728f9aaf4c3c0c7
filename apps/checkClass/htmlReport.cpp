// The class as one page: its summary first, then a matrix of submissions by groups of cases
// whose failed cells open their reports right under their rows; its style and script inline, so
// that the page needs nothing beside it, and a policy that forbids it to fetch anything.
// Everything a submission decides (its name, its reports, its messages) is escaped, and none of
// it is ever written into the script or the style.
#include "classReports.h"

#include "AtomicFile.h"
#include "pageParts.h"
#include "safeText.h"
#include "translate.h"

#include <algorithm>
#include <cstdio>

namespace {

void writeHead(FILE* file, const std::string& title) {
    fprintf(file,
            "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; "
            "style-src 'unsafe-inline'; script-src 'unsafe-inline'\">\n"
            "<title>%s</title>\n<style>",
            escapeHtml(title).c_str());
    fputs(PAGE_STYLE, file);
    fprintf(file, "</style>\n</head>\n<body>\n<h1>%s</h1>\n", escapeHtml(title).c_str());
}

void writeTableHead(FILE* file, const std::vector<CaseGroup>& groups) {
    fprintf(file,
            "<p id=\"controls\" hidden>%s <button type=\"button\" data-show=\"all\" "
            "class=\"on\">%s</button> <button type=\"button\" data-show=\"failed\">%s</button> "
            "<button type=\"button\" data-show=\"errors\">%s</button></p>\n"
            "<div id=\"scroller\">\n<table id=\"matrix\">\n<thead><tr>"
            "<th class=\"name\"><button type=\"button\" id=\"by-name\">%s</button></th>"
            "<th class=\"score\"><button type=\"button\" id=\"by-score\">%s</button></th>"
            "<th class=\"status\"><button type=\"button\" id=\"by-status\">%s</button></th>",
            word("Show:").c_str(), word("All").c_str(), word("Failed").c_str(),
            word("Errors").c_str(), word("Submission").c_str(), word("Score").c_str(),
            word("Status").c_str());
    for (const CaseGroup& group : groups) {
        fprintf(file, "<th class=\"group%s\" title=\"%s%zu\">%s</th>",
                group.firstExtended ? " extended-first" : "",
                group.extended ? (word("extended checks") + ", ").c_str() : "", group.cases.size(),
                escapeHtml(group.name).c_str());
    }
    fputs("</tr></thead>\n", file);
}

// A details row, under its submission's row and shown when its cell is clicked (or, without a
// script, when the page is opened at its id), with the heading and the body given.
void writeDetails(FILE* file, const std::string& id, size_t columns, const std::string& heading,
                  const std::string& body) {
    fprintf(file,
            "<tr class=\"details\" id=\"%s\"><td colspan=\"%zu\"><div class=\"report\">"
            "<h3>%s</h3>%s</div></td></tr>\n",
            id.c_str(), columns, heading.c_str(), body.c_str());
}

// A submission as a <tbody> of its own, its row and then its reports, so that sorting and
// filtering move and hide them together. index names its reports' ids: nothing a submission
// decides goes into an id.
void writeSubmission(FILE* file, const Row& row, size_t index,
                     const std::vector<CaseGroup>& groups) {
    const std::string who = escapeHtml(row.name);
    const std::string status = statusName(row.status);
    const double score = scorePercent(row);
    const std::string prefix = "r" + std::to_string(index) + "-";
    const size_t columns = 3 + std::max<size_t>(groups.size(), 1);
    fprintf(file,
            "<tbody data-name=\"%s\" data-score=\"%s\" data-status=\"%s\"><tr>"
            "<th class=\"name\" title=\"%s\">%s</th><td class=\"score\">%s%%</td>"
            "<td class=\"status %s\">%s</td>",
            who.c_str(), percentText(score).c_str(), status.c_str(), who.c_str(), who.c_str(),
            percentText(score).c_str(), status.c_str(), escapeHtml(statusWord(row.status)).c_str());
    if (row.cases.empty()) {
        // Not run as a list: one cell across the groups with the reason, its messages below.
        fprintf(file, "<td class=\"cell %s\" colspan=\"%zu\"><a href=\"#%sm\">%s</a></td></tr>\n",
                status.c_str(), columns - 3, prefix.c_str(), escapeHtml(row.reason).c_str());
        const std::string report = row.message.empty() ? row.reason : row.message;
        writeDetails(file, prefix + "m", columns, who, "<pre>" + escapeHtml(report) + "</pre>");
        fputs("</tbody>\n", file);
        return;
    }
    // A failed group's cases open in a row of their own, written once the submission's row ends.
    std::vector<std::pair<size_t, std::string>> reports;
    const auto groupId = [&prefix](size_t g) { return prefix + "g" + std::to_string(g); };
    for (size_t g = 0; g < groups.size(); g++) {
        const CaseGroup& group = groups[g];
        const char* divider = group.firstExtended ? " extended-first" : "";
        size_t ran = 0;
        size_t passed = 0;
        std::string body;
        for (const std::string& name : group.cases) {
            const auto verdict =
                std::find_if(row.cases.begin(), row.cases.end(),
                             [&name](const CaseVerdict& v) { return v.name == name; });
            if (verdict == row.cases.end()) {
                continue;
            }
            ran++;
            passed += verdict->passed ? 1 : 0;
            body += std::string("<h4 class=\"") + (verdict->passed ? "passed" : "failed") + "\">" +
                    escapeHtml(name) + "</h4>";
            if (!verdict->passed) {
                body += "<pre>" + escapeHtml(verdict->output) + "</pre>";
            }
        }
        const std::string count = std::to_string(passed) + "/" + std::to_string(ran);
        if (ran == 0) {
            fprintf(file, "<td class=\"cell none%s\"></td>", divider);
        } else if (passed == ran) {
            fprintf(file, "<td class=\"cell passed%s\">%s</td>", divider, count.c_str());
        } else {
            fprintf(file, "<td class=\"cell %s%s\"><a href=\"#%s\">%s</a></td>",
                    passed == 0 ? "failed" : "partial", divider, groupId(g).c_str(), count.c_str());
            reports.emplace_back(g, body);
        }
    }
    fputs("</tr>\n", file);
    for (const auto& [g, body] : reports) {
        writeDetails(file, groupId(g), columns, who + " &#183; " + escapeHtml(groups[g].name),
                     body);
    }
    fputs("</tbody>\n", file);
}

} // namespace

std::string escapeHtml(std::string_view text) {
    std::string escaped;
    while (!text.empty()) {
        const size_t length = utf8Length(text);
        const char c = text.front();
        if (length > 1) {
            escaped.append(text.substr(0, length));
        } else if (length == 0 || ((static_cast<unsigned char>(c) < 0x20 || c == 0x7f) &&
                                   c != '\n' && c != '\t')) {
            escaped += "&#xFFFD;";
        } else if (c == '&') {
            escaped += "&amp;";
        } else if (c == '<') {
            escaped += "&lt;";
        } else if (c == '>') {
            escaped += "&gt;";
        } else if (c == '"') {
            escaped += "&quot;";
        } else if (c == '\'') {
            escaped += "&#39;";
        } else {
            escaped += c;
        }
        text.remove_prefix(std::max<size_t>(length, 1));
    }
    return escaped;
}

bool writeHtml(const std::string& path, const std::vector<Row>& rows, const std::string& title) {
    AtomicFile html;
    if (!html.open(path.c_str())) {
        return false;
    }
    FILE* file = html.stream();
    const std::vector<CaseGroup> groups = caseGroups(rows);
    writeHead(file, title);
    writeSummary(file, rows);
    writeTableHead(file, groups);
    for (size_t i = 0; i < rows.size(); i++) {
        writeSubmission(file, rows[i], i, groups);
    }
    fprintf(file, "</table>\n</div>\n<script>%s</script>\n</body>\n</html>\n", PAGE_SCRIPT);
    return html.commit();
}
