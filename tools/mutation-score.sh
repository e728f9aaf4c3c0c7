#!/usr/bin/env bash
# Mutation analysis of a linked list written in C: makes every single-point mutant of SOURCE
# (tools/mutator), checks each one with the list checker, and prints one line per mutant that
# survived (FILE:LINE: the mutation), then the score as its last line:
#   mutants: N, killed: K, survived: S
# Usage: tools/mutation-score.sh SOURCE [-- RUNNER_OPTION...]
#   The runner options go to every check (e.g. --extended); unless they give a --timeout, each
#   case may run 1 s, so that a mutant that hangs is killed soon.
# Counting: a mutant that does not compile (a pointer and an integer mixed up is an error), or
# that compiles to the same object code as SOURCE (with the flags below: an equivalent mutant,
# such as one in code an #ifdef leaves out), is not counted; the line before the score says how
# many of each there were. A mutant the checker could not judge (status 2 or more: its runner did
# not build or failed) is listed and not counted either.
# Environment: CHECK_LIST the checker (default: check-list.sh beside this script), called as
# CHECK_LIST MUTANT_SOURCE -- RUNNER_OPTION..., exit status 0 for a pass and 1 for a failed case;
# MUTATE the mutant maker (default: built from tools/mutator into a cache folder); CC the
# compiler for the equivalence check (default cc); JOBS the mutants checked at once (default 2).
# Exit status: 0 when no counted mutant survived, 1 when some did, 2 on trouble.
set -uo pipefail

fail() {
    echo "mutation-score.sh: $1" >&2
    exit 2
}

usage() {
    echo "Usage: mutation-score.sh SOURCE [-- RUNNER_OPTION...]"
}

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
case "${1:-}" in
-h | --help) usage && exit 0 ;;
"") usage >&2 && exit 2 ;;
esac
source_path=$1
shift
[ -f "$source_path" ] || fail "no list source '$source_path'"
if [ $# -gt 0 ]; then
    [ "$1" = "--" ] || fail "runner options go after '--', not '$1'"
    shift
fi
runner_options=("$@")
case " ${runner_options[*]} " in *" --timeout "*) ;; *) runner_options+=(--timeout 1) ;; esac
check_list=${CHECK_LIST:-$here/check-list.sh}
jobs=${JOBS:-2}
cc=${CC:-cc}

# The mutant maker: as given, or built once from its sources (again when they change).
mutate=${MUTATE:-}
if [ -z "$mutate" ]; then
    sources=("$here"/mutator/*.cpp)
    key=$(cat "${sources[@]}" "$here"/mutator/*.h | sha256sum | cut -c1-16)
    mutate=${XDG_CACHE_HOME:-$HOME/.cache}/mutation-score/mutate-$key
    if [ ! -x "$mutate" ]; then
        mkdir -p "$(dirname "$mutate")" || fail "cannot create $(dirname "$mutate")"
        g++ -std=c++20 -O2 -o "$mutate.tmp" "${sources[@]}" && mv "$mutate.tmp" "$mutate" ||
            fail "cannot build the mutant maker from $here/mutator"
    fi
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/mutation-score.XXXXXX") || fail "cannot create a work folder"
trap 'rm -rf "$work"' EXIT
name=$(basename "$source_path")
source_dir=$(cd "$(dirname "$source_path")" && pwd)
"$mutate" "$source_path" >"$work/mutants" || fail "cannot make the mutants of $source_path"

# Compiles the source in folder $1 to $1/list.o, the same way for the original and each mutant,
# with the headers beside the source first. A pointer passed for an int, or the other way round,
# is an error here, as in C++ and in newer C compilers, so that a mutant that swaps arguments of
# different types does not compile.
compile() {
    (cd "$1" && "$cc" -O2 -Werror=int-conversion -Werror=incompatible-pointer-types \
        -Werror=implicit-function-declaration -c -I"$source_dir" -I"$here/../inc" "$name" \
        -o list.o) 2>/dev/null
}
mkdir "$work/original" && cp "$source_path" "$work/original/$name" || fail "cannot copy the source"
compile "$work/original" || fail "$source_path does not compile"

# Judges mutant $1: writes its verdict (killed, survived, uncompiled, equivalent, unjudged:STATUS)
# to $work/$1.verdict.
judge() {
    local number=$1 dir=$work/$1 verdict status
    mkdir "$dir" && cp "$source_dir"/*.h "$dir"/ 2>/dev/null
    "$mutate" "$source_path" "$number" >"$dir/$name" || { echo "unjudged:mutate" >"$dir.verdict"; return; }
    if ! compile "$dir"; then
        verdict=uncompiled
    elif cmp -s "$dir/list.o" "$work/original/list.o"; then
        verdict=equivalent
    else
        "$check_list" "$dir/$name" -- "${runner_options[@]}" >"$dir/check.log" 2>&1
        status=$?
        case $status in
        0) verdict=survived ;;
        1) verdict=killed ;;
        *) verdict=unjudged:$status ;;
        esac
    fi
    echo "$verdict" >"$dir.verdict"
    rm -rf "$dir"
}
export -f judge compile
export work name source_dir source_path mutate cc here check_list
export runner_options_text
runner_options_text=$(printf '%q ' "${runner_options[@]}")
# Arrays do not cross into the jobs: they rebuild runner_options from its quoted text.
cut -f1 "$work/mutants" |
    xargs -P "$jobs" -I{} bash -c 'eval "runner_options=($runner_options_text)"; judge {}'

mutants=0 killed=0 survived=0 uncompiled=0 equivalent=0
while IFS=$'\t' read -r number line mutation; do
    verdict=$(cat "$work/$number.verdict" 2>/dev/null || echo unjudged:lost)
    case $verdict in
    killed) mutants=$((mutants + 1)) killed=$((killed + 1)) ;;
    survived)
        mutants=$((mutants + 1)) survived=$((survived + 1))
        echo "$source_path:$line: $mutation"
        ;;
    uncompiled) uncompiled=$((uncompiled + 1)) ;;
    equivalent) equivalent=$((equivalent + 1)) ;;
    *) echo "$source_path:$line: $mutation: not judged (checker status ${verdict#unjudged:})" ;;
    esac
done <"$work/mutants"
echo "not counted: $uncompiled do not compile, $equivalent compile to the same code as the source"
echo "mutants: $mutants, killed: $killed, survived: $survived"
[ "$survived" -eq 0 ]
