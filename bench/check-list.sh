#!/usr/bin/env bash
# How long check-list takes to give its verdict on two sound lists (tests/lists/faultyList.c, which
# walks from the head, and lib/LinkedList.c, which remembers its tail and cursor): a new list in a
# new folder, the same list after an edit, and the list unchanged, each plain and with --asan; the
# median of RUNS runs (5 unless given), in seconds, as a Markdown table. The suite must be built (cmake --build build --target
# checkListSuite); the cache is a temporary one, so that the user's is left alone.
# Usage: bench/check-list.sh [RUNS]   (CHECK_LIST names another check-list, an installed one say)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
check=${CHECK_LIST:-$repo/tools/check-list.sh}
work=$(mktemp -d)
trap 'rm -rf -- "$work"' EXIT
export XDG_CACHE_HOME=$work/cache

# Milliseconds the command takes, its output dropped; a check that does not pass stops it all.
milliseconds() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 || { echo "bench/check-list.sh: failed: $*" >&2 && exit 1; }
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

# The median of the numbers on standard input, in milliseconds, shown in seconds.
median() {
    sort -n | awk '{ value[NR] = $1 }
        END { m = NR % 2 ? value[(NR + 1) / 2] : (value[NR / 2] + value[NR / 2 + 1]) / 2
              printf "%.2f s", m / 1000 }'
}

echo "| list | mode | new list, new folder | after an edit | unchanged |"
echo "|---|---|---|---|---|"
for list in tests/lists/faultyList.c lib/LinkedList.c; do
    for mode in plain asan; do
        options=()
        [ $mode = plain ] || options=(--asan)
        new=() edited=() unchanged=()
        for run in $(seq "$runs"); do
            # Content no earlier run had, in a folder no earlier run used.
            folder=$work/$mode-$run-${list//\//-}
            mkdir -p "$folder"
            { cat "$repo/$list" && echo "/* $mode $run $$ */"; } >"$folder/${list##*/}"
            new+=("$(milliseconds "$check" "${options[@]}" "$folder/${list##*/}")")
            echo "/* edited */" >>"$folder/${list##*/}"
            edited+=("$(milliseconds "$check" "${options[@]}" "$folder/${list##*/}")")
            unchanged+=("$(milliseconds "$check" "${options[@]}" "$folder/${list##*/}")")
        done
        printf '| `%s` | %s | %s | %s | %s |\n' "${list##*/}" "$mode" \
            "$(printf '%s\n' "${new[@]}" | median)" "$(printf '%s\n' "${edited[@]}" | median)" \
            "$(printf '%s\n' "${unchanged[@]}" | median)"
    done
done
