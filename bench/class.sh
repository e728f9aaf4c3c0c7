#!/usr/bin/env bash
# Times check-list --class on a generated class: N submissions, each a list of tests/lists (the
# sound bases and their faulty variants, in turn) with a line of its own, so that no two are the
# same and every one is built and checked, and every tenth one the list that spins forever in
# ll_indexOf, as a class's worst hang; then prints the wall time, the time per submission and the
# statuses. A fresh cache, as for a class never checked before.
# Usage: bench/class.sh [N] [-- OPTION...]   (default 300 submissions, the full check; --basic
# for the 33 cases alone)
# The class runner is build/bin/checkClass unless CHECK_CLASS names another.
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-300}
shift || true
[ "${1:-}" = -- ] && shift
options=("$@")
export CHECK_CLASS=${CHECK_CLASS:-$PWD/build/bin/checkClass}
[ -x "$CHECK_CLASS" ] || { echo "no class runner at $CHECK_CLASS: build it first (cmake --build build --target checkClass)"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME=$work/cache

# The lists: each base sound, then each faulty list of the table with its base; the hanging one
# apart, for every tenth submission alone.
hang=faultyList.c:endlessLoop
lists=("faultyList.c:" "cachedList.c:")
while IFS= read -r row; do
    [ "$row" = "$hang" ] || lists+=("$row")
done < <(sed -n 's/^| `\([A-Za-z]*\)` | `\([A-Za-z]*\.c\)` |.*/\2:\1/p' tests/lists/faults.md)
for ((i = 0; i < count; i++)); do
    entry=${lists[i % ${#lists[@]}]}
    ((i % 10 == 9)) && entry=$hang
    base=${entry%%:*} fault=${entry#*:}
    folder=$(printf '%s/class/s%03d' "$work" "$i")
    mkdir -p "$folder"
    {
        printf '/* submission %d */\n' "$i"
        [ -z "$fault" ] || printf '#define FAULT_%s\n' "$fault"
        cat "tests/lists/$base"
    } >"$folder/list.c"
done

start=$(date +%s.%N)
tools/check-list.sh --class "$work/class" --csv "$work/class.csv" "${options[@]}" >"$work/out.txt"
end=$(date +%s.%N)
tail -n 1 "$work/out.txt"
awk -v n="$count" -v s="$start" -v e="$end" -v cores="$(nproc)" -v options="${options[*]:-the full check}" 'BEGIN {
    printf "%d submissions (%s) on %d cores: %.1f s, %.2f s a submission\n", n, options, cores, e - s, (e - s) / n
}'
