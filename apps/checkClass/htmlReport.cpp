// The class as one page: a matrix of submissions by cases, its style and script inline, so that
// the page needs nothing beside it, and a policy that forbids it to fetch anything. Everything a
// submission decides (its name, its reports, its messages) is escaped.
#include "classReports.h"

#include "AtomicFile.h"
#include "safeText.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr char kHead[] = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta http-equiv="Content-Security-Policy" content="default-src 'none'; style-src 'unsafe-inline'; script-src 'unsafe-inline'">
<title>%s</title>
<style>
body { font-family: sans-serif; margin: 1em; color: #222; }
table { border-collapse: collapse; }
th, td { border: 1px solid #ccc; padding: 2px 6px; }
thead th.case { writing-mode: vertical-rl; transform: rotate(180deg); font-weight: normal; font-size: 80%%; }
tbody th { text-align: left; white-space: nowrap; }
td.cell { text-align: center; min-width: 1.2em; }
td.cell[colspan] { text-align: left; }
td.status { white-space: nowrap; }
.passed { background: #a5d6a7; }
.failed { background: #ef9a9a; }
.build-error { background: #ffcc80; }
.layout-error { background: #ce93d8; }
.error { background: #fff176; }
.none { background: #eee; }
td.cell.failed, td.cell[data-report] { cursor: pointer; }
td.cell.chosen { outline: 3px solid #1565c0; }
button { font: inherit; font-weight: bold; border: none; background: none; cursor: pointer; }
#report-panel { margin-top: 1em; }
#report { background: #f5f5f5; border: 1px solid #ccc; padding: 0.5em; white-space: pre-wrap; }
</style>
</head>
<body>
<h1>%s</h1>
<p id="summary">%s</p>
<table id="matrix">
<thead><tr><th><button type="button" id="by-name">Submission</button></th><th><button type="button" id="by-score">Score</button></th><th>Status</th>)";

constexpr char kTail[] = R"(</tbody>
</table>
<section id="report-panel" hidden>
<h2 id="report-title"></h2>
<pre id="report"></pre>
</section>
<script>
"use strict";
(function () {
  const body = document.querySelector("#matrix tbody");
  const panel = document.getElementById("report-panel");
  let order = "";
  function sortBy(key) {
    const rows = Array.from(body.rows);
    const descending = order === key;
    rows.sort(function (a, b) {
      const byName = a.dataset.name < b.dataset.name ? -1 : a.dataset.name > b.dataset.name ? 1 : 0;
      const byScore = Number(b.dataset.score) - Number(a.dataset.score);
      const first = key === "score" ? byScore || byName : byName;
      return descending ? -first : first;
    });
    rows.forEach(function (row) { body.appendChild(row); });
    order = descending ? "" : key;
  }
  document.getElementById("by-name").addEventListener("click", function () { sortBy("name"); });
  document.getElementById("by-score").addEventListener("click", function () { sortBy("score"); });
  body.addEventListener("click", function (event) {
    const cell = event.target.closest("td[data-report]");
    if (!cell) return;
    document.querySelectorAll("td.chosen").forEach(function (c) { c.classList.remove("chosen"); });
    cell.classList.add("chosen");
    document.getElementById("report-title").textContent = cell.dataset.title;
    document.getElementById("report").textContent = cell.dataset.report;
    panel.hidden = false;
  });
})();
</script>
</body>
</html>
)";

// Points as few digits show them.
std::string points(double value) {
    char text[32];
    snprintf(text, sizeof text, "%g", value);
    return text;
}

// Every case name of the class, in the order of the first submission that ran it.
std::vector<std::string> caseNames(const std::vector<Row>& rows) {
    std::vector<std::string> names;
    for (const Row& row : rows) {
        for (const CaseVerdict& verdict : row.cases) {
            if (std::find(names.begin(), names.end(), verdict.name) == names.end()) {
                names.push_back(verdict.name);
            }
        }
    }
    return names;
}

// A row's cells after its name, score and status: one a case, or one across them all for a
// submission that was not run, showing its reason and, on a click, its messages.
void writeCells(FILE* file, const Row& row, const std::vector<std::string>& names) {
    const std::string who = escapeHtml(row.name);
    if (row.cases.empty()) {
        const std::string report = row.message.empty() ? row.reason : row.message;
        fprintf(
            file,
            "<td class=\"cell %s\" colspan=\"%zu\" data-title=\"%s\" data-report=\"%s\">%s</td>",
            statusName(row.status), std::max<size_t>(names.size(), 1), who.c_str(),
            escapeHtml(report).c_str(), escapeHtml(row.reason).c_str());
        return;
    }
    for (const std::string& name : names) {
        const auto verdict = std::find_if(row.cases.begin(), row.cases.end(),
                                          [&name](const CaseVerdict& v) { return v.name == name; });
        if (verdict == row.cases.end()) {
            fprintf(file, "<td class=\"cell none\" title=\"%s: not run\"></td>",
                    escapeHtml(name).c_str());
        } else if (verdict->passed) {
            fprintf(file, "<td class=\"cell passed\" title=\"%s: passed\">&#10003;</td>",
                    escapeHtml(name).c_str());
        } else {
            fprintf(file,
                    "<td class=\"cell failed\" title=\"%s: failed\" data-title=\"%s &#183; %s\" "
                    "data-report=\"%s\">&#10007;</td>",
                    escapeHtml(name).c_str(), who.c_str(), escapeHtml(name).c_str(),
                    escapeHtml(verdict->output).c_str());
        }
    }
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
    const std::vector<std::string> names = caseNames(rows);
    fprintf(file, kHead, escapeHtml(title).c_str(), escapeHtml(title).c_str(),
            escapeHtml(classSummary(rows)).c_str());
    for (const std::string& name : names) {
        fprintf(file, "<th class=\"case\">%s</th>", escapeHtml(name).c_str());
    }
    fputs("</tr></thead>\n<tbody>\n", file);
    for (const Row& row : rows) {
        fprintf(file,
                "<tr data-name=\"%s\" data-score=\"%s\"><th>%s</th><td class=\"score\">%s/%s</td>"
                "<td class=\"status %s\">%s</td>",
                escapeHtml(row.name).c_str(), points(row.score()).c_str(),
                escapeHtml(row.name).c_str(), points(row.score()).c_str(),
                points(row.maxScore()).c_str(), statusName(row.status), statusName(row.status));
        writeCells(file, row, names);
        fputs("</tr>\n", file);
    }
    fputs(kTail, file);
    return html.commit();
}
