#!/usr/bin/env bash
# Checks a linked list of your own against the conformance cases in one command: builds
# probeRunner against the list's sources in a cache folder of its own (again only where a source
# changed), then runs it with the options given and exits with its status.
# Usage: tools/check-list.sh [--asan] SOURCE... [-- RUNNER_OPTION...]
#   --asan  build the runner and the list with AddressSanitizer and UndefinedBehaviorSanitizer
# Exit status: the runner's (0 all cases passed, 1 one failed, 2 the runner failed), or 2 when the
# list does not build or its LinkedList.h lays the records out otherwise than inc/LinkedList.h.
set -uo pipefail

usage() {
    echo "Usage: check-list.sh [--asan] SOURCE... [-- RUNNER_OPTION...]"
}
fail() {
    echo "check-list.sh: $1" >&2
    exit 2
}

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# A whole class: the class runner checks each submission with this script (docs/grading.md).
if [ "${1:-}" = --class ]; then
    exec "${CHECK_CLASS:-$repo/build/bin/checkClass}" --check-list "$(realpath -- "$0")" "$@"
fi
preset=default
sources=()
while [ $# -gt 0 ]; do
    case "$1" in
    --asan) preset=asan ;;
    --) shift && break ;;
    -h | --help) usage && exit 0 ;;
    -*) usage >&2 && fail "unknown option '$1'" ;;
    *)
        [ -f "$1" ] || fail "no list source '$1'"
        sources+=("$(realpath -- "$1")")
        ;;
    esac
    shift
done
[ ${#sources[@]} -gt 0 ] || { usage >&2 && fail "name the list's source files"; }

# The compiler's and CMake's own messages in a build log, without the build tool's progress, its
# commands and CMake's call stacks; each CMake error joined back into one line.
messages() {
    awk '
        function flush() { if (error != "") { print error; error = "" } }
        /^FAILED: / { command = 1; next }
        command { command = 0; next }
        /^\[[0-9]+\/[0-9]+\] / || /^ninja: / || /^-- / || /^See also / { next }
        /^CMake Error/ { flush(); inError = 1; next }
        /^Call Stack/ { flush(); inError = 0; inStack = 1; next }
        inError && /^  / { sub(/^ +/, ""); error = error (error == "" ? "" : " ") $0; next }
        inStack && /^  / { next }
        /^$/ { next }
        { flush(); inError = 0; inStack = 0; print }
        END { flush() }' "$1"
}

key=$(printf '%s\n' "$repo" "$preset" "${sources[@]}" | sha256sum | cut -c1-16)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/probeRunner/$key
mkdir -p "$cache" || fail "cannot create the cache folder $cache"
if [ ! -f "$cache/build.ninja" ]; then
    list=$(IFS=';' && echo "${sources[*]}")
    if ! (cd "$repo" && cmake --preset "$preset" -B "$cache" -DBUILD_TESTING=OFF \
        -DLINKEDLIST_SOURCES="$list" -DLINKEDLIST_WARNINGS_AS_ERRORS=OFF) >"$cache/configure.log" 2>&1; then
        messages "$cache/configure.log" >&2
        fail "cannot set the build up (the whole log: $cache/configure.log)"
    fi
fi
if ! cmake --build "$cache" --target probeRunner >"$cache/build.log" 2>&1; then
    messages "$cache/build.log" >&2
    fail "the list does not build (the whole log: $cache/build.log)"
fi
# Warnings, if the build showed any.
messages "$cache/build.log" >&2
exec "$cache/bin/probeRunner" "$@"
