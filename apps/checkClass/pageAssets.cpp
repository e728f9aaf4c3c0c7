// The page's style and script. Both are fixed texts: no submission's text is ever written into
// them, the script finds everything it needs in the page's escaped markup.
#include "pageParts.h"

// The name, score and status columns stick to the left and the heading row to the top of the
// scrolled table, so a row's owner stays in view however far its cells scroll; their widths are
// fixed because each sticky column's offset is the sum of the widths before it.
const char PAGE_STYLE[] = R"(
body { font-family: sans-serif; margin: 1em; color: #222; }
#summary .counts { display: flex; flex-wrap: wrap; gap: 0.5em; }
.tile { padding: 0.3em 0.8em; border: 1px solid #ccc; border-radius: 4px; }
.tile strong { font-size: 140%; }
.charts { display: flex; flex-wrap: wrap; gap: 3em; }
figure { margin: 0; }
figcaption { font-weight: bold; margin-bottom: 0.3em; }
.bars th { text-align: right; font-weight: normal; padding-right: 0.5em; }
.bar { display: inline-block; height: 0.9em; background: #64b5f6; vertical-align: middle; }
#most-failed ol { margin: 0; }
#controls button { border: 1px solid #999; border-radius: 4px; padding: 0.1em 0.6em; }
#controls button.on { background: #1565c0; color: #fff; }
#scroller { overflow: auto; max-height: 80vh; border: 1px solid #ccc; margin-top: 0.5em; }
#matrix { border-collapse: separate; border-spacing: 0; }
#matrix th, #matrix td { border-right: 1px solid #ddd; border-bottom: 1px solid #ddd; padding: 2px 6px; }
#matrix thead th { position: sticky; top: 0; z-index: 2; background: #f5f5f5; }
#matrix thead th.group { writing-mode: vertical-rl; transform: rotate(180deg); font-weight: normal; font-size: 85%; }
#matrix th.extended-first, #matrix td.extended-first { border-right-width: 1px; border-left: 3px solid #555; }
#matrix .name, #matrix .score, #matrix .status { position: sticky; z-index: 1; box-sizing: border-box; background: #fff; }
#matrix thead .name, #matrix thead .score, #matrix thead .status { z-index: 3; background: #f5f5f5; }
#matrix .name { left: 0; width: 14em; min-width: 14em; max-width: 14em; overflow: hidden; text-overflow: ellipsis; text-align: left; white-space: nowrap; }
#matrix .score { left: 14em; width: 5em; min-width: 5em; max-width: 5em; text-align: right; }
#matrix .status { left: 19em; width: 8.5em; min-width: 8.5em; max-width: 8.5em; white-space: nowrap; }
td.cell { text-align: center; white-space: nowrap; }
td.cell[colspan] { text-align: left; }
td.cell a { color: inherit; }
td.cell.chosen { outline: 3px solid #1565c0; outline-offset: -3px; }
#matrix td.passed { background: #a5d6a7; }
#matrix td.partial { background: #ffab91; }
#matrix td.failed { background: #ef9a9a; }
#matrix td.build-error { background: #ffcc80; }
#matrix td.layout-error { background: #ce93d8; }
#matrix td.error { background: #fff176; }
#matrix td.none { background: #eee; }
.tile.passed { background: #a5d6a7; } .tile.failed { background: #ef9a9a; }
.tile.build-error { background: #ffcc80; } .tile.layout-error { background: #ce93d8; }
.tile.error { background: #fff176; }
button { font: inherit; font-weight: bold; border: none; background: none; cursor: pointer; }
tr.details { display: none; scroll-margin-top: 9em; }
tr.details:target, tr.details.open { display: table-row; }
tr.details > td { background: #fafafa; padding: 0; }
.report { position: sticky; left: 0; max-width: calc(100vw - 4em); padding: 0.5em 1em; box-sizing: border-box; }
.report h3 { margin: 0.2em 0; font-size: 100%; }
.report h4 { margin: 0.4em 0 0.1em; font-size: 95%; }
.report h4.passed::before { content: "\2713  "; color: #2e7d32; }
.report h4.failed::before { content: "\2717  "; color: #c62828; }
.report pre { background: #fff; border: 1px solid #ccc; padding: 0.4em; margin: 0; white-space: pre-wrap; }
)";

// Sorting moves a submission's whole <tbody>, its row and its reports together; the filter hides
// whole <tbody>s. The filter's buttons are hidden until this runs, since without a script they
// would do nothing; the reports still open without it, through their rows being link targets.
const char PAGE_SCRIPT[] = R"(
"use strict";
(function () {
  const table = document.getElementById("matrix");
  const submissions = function () { return Array.from(table.tBodies); };
  const ranks = { "passed": 0, "failed": 1, "build-error": 2, "layout-error": 3, "error": 4 };
  const errors = ["build-error", "layout-error", "error"];
  let order = "";
  function compare(key, a, b) {
    const byName = a.dataset.name < b.dataset.name ? -1 : a.dataset.name > b.dataset.name ? 1 : 0;
    if (key === "score") return Number(b.dataset.score) - Number(a.dataset.score) || byName;
    if (key === "status") return ranks[a.dataset.status] - ranks[b.dataset.status] || byName;
    return byName;
  }
  function sortBy(key) {
    const descending = order === key;
    submissions().sort(function (a, b) { return descending ? compare(key, b, a) : compare(key, a, b); })
      .forEach(function (submission) { table.appendChild(submission); });
    order = descending ? "" : key;
  }
  ["name", "score", "status"].forEach(function (key) {
    document.getElementById("by-" + key).addEventListener("click", function () { sortBy(key); });
  });
  const controls = document.getElementById("controls");
  function show(kind) {
    submissions().forEach(function (submission) {
      const status = submission.dataset.status;
      submission.hidden = kind === "failed" ? status !== "failed"
        : kind === "errors" ? errors.indexOf(status) < 0 : false;
    });
    controls.querySelectorAll("button").forEach(function (button) {
      button.classList.toggle("on", button.dataset.show === kind);
    });
  }
  controls.addEventListener("click", function (event) {
    const button = event.target.closest("button[data-show]");
    if (button) show(button.dataset.show);
  });
  controls.hidden = false;
  table.addEventListener("click", function (event) {
    const link = event.target.closest("td.cell a");
    if (!link) return;
    event.preventDefault();
    const details = document.getElementById(link.getAttribute("href").slice(1));
    details.classList.toggle("open");
    link.parentElement.classList.toggle("chosen", details.classList.contains("open"));
  });
})();
)";
