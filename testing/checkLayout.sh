#!/usr/bin/env bash
# Refuses a list's own LinkedList.h unless it lays out Node and LinkedList as inc/LinkedList.h does,
# which the cases are built with: the rules of listLayout.c all at once, and when they do not all
# hold, one by one in field order, so that the message names the first field that differs. The
# compiler itself judges the types, typedefs and padding, in the language of the list's sources.
# Used by check-list (inside its sandbox) and by the build's add_probe_runner, alike.
# Usage: [LAYOUT_HEADER=PATH] checkLayout.sh HEADER LANGUAGE LISTLAYOUT_C COMPILER [OPTION...]
#   LAYOUT_HEADER names the header the cases are built with as the user has it (inc/LinkedList.h)
#   LANGUAGE is C or CXX; the compiler's options should include -x c or -x c++
# Exit status: 0 the layout holds; 1 with one line on standard output saying why it does not.
set -uo pipefail
header=$1 language=$2 layout=$3
shift 3

holds() {
    "$@" -fsyntax-only -DLAYOUT_RULE="$rule" -include "$header" "$layout" >/dev/null 2>&1
}
rule=0
holds "$@" && exit 0
rules=()
mapfile -t rules < <(sed -n 's|^/\* rule \([0-9]*\): \(.*\) \*/$|\1 \2|p' "$layout")
rule=$((${#rules[@]} + 1))
if ! holds "$@"; then
    echo "$header does not compile on its own as $language"
    exit 1
fi
for line in "${rules[@]}"; do
    rule=${line%% *}
    holds "$@" && continue
    echo "$header lays out the list differently from ${LAYOUT_HEADER:-inc/LinkedList.h}, which the" \
        "cases are built with: it differs at ${line#* }."
    exit 1
done
