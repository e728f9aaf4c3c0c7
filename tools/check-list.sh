#!/usr/bin/env bash
# Checks a linked list of your own against the conformance cases in one command: compiles the
# list's sources and links them with the suite's prebuilt runner and cases, keeps that runner in a
# cache keyed by what it was built from, then runs it with the options given and exits with its
# status. A list that did not change is not built again.
# Usage: check-list.sh [--asan] SOURCE... [-- RUNNER_OPTION...]
#   --asan  build the list, and link it with the suite, under AddressSanitizer and
#           UndefinedBehaviorSanitizer
# Installed (as check-list), it finds the suite in LIBDIR/registro_personal beside its own folder;
# in the source tree, in check-list/ of the build tree (build/, or $CHECK_LIST_BUILD_DIR), which
# it sets up and builds first where the suite is missing.
# Environment: CC and CXX name the compilers (cc and c++ otherwise); the cache,
# ${XDG_CACHE_HOME:-~/.cache}/check-list, keeps the newest $CHECK_LIST_CACHE_ENTRIES runners (16).
# Exit status: the runner's (0 all cases passed, 1 one failed, 2 the runner failed), or 2 when the
# list does not build or its LinkedList.h lays the records out otherwise than inc/LinkedList.h.
set -uo pipefail

program=${0##*/}
usage() {
    echo "Usage: $program [--asan] SOURCE... [-- RUNNER_OPTION...]"
}
fail() {
    echo "$program: $1" >&2
    exit 2
}
# A wrong command line: the reason, then the usage.
refuse() {
    echo "$program: $1" >&2
    usage >&2
    exit 2
}
# The build writes the version into an installed copy; the source tree reads it where it is kept.
version() {
    local version='@PROJECT_VERSION@'
    [[ $version != @* ]] ||
        version=$(sed -n 's/^project(registro_personal VERSION \([0-9.]*\).*/\1/p' \
            "$(dirname -- "$(realpath -- "${BASH_SOURCE[0]}")")/../CMakeLists.txt")
    echo "$program $version"
}

# A whole class: the class runner, installed beside the suite or built in the build tree, checks
# each submission with this script (docs/grading.md).
if [ "${1:-}" = --class ]; then
    here=$(dirname -- "$(realpath -- "${BASH_SOURCE[0]}")")
    class=$(compgen -G "$here/../lib*/registro_personal/checkClass" ||
        compgen -G "$here/../lib/*/registro_personal/checkClass" ||
        echo "${CHECK_LIST_BUILD_DIR:-$here/../build}/bin/checkClass")
    exec "${CHECK_CLASS:-${class%%$'\n'*}}" --check-list "$(realpath -- "$0")" "$@"
fi

mode=plain
sources=()
while [ $# -gt 0 ]; do
    case "$1" in
    --asan) mode=asan ;;
    # A mode that checks something other than a list takes its option here, before any source,
    # and hands the rest of the command line over to its own program.
    --) shift && break ;;
    -h | --help) usage && exit 0 ;;
    --version) version && exit 0 ;;
    -*) refuse "unknown option '$1'" ;;
    *)
        [ -f "$1" ] || fail "no list source '$1'"
        sources+=("$(realpath -- "$1")")
        ;;
    esac
    shift
done
[ ${#sources[@]} -gt 0 ] || refuse "name the list's source files"

# A line that says what is under way, on a terminal only, where the next one replaces it.
progress() {
    [ -t 2 ] && printf '\r\033[K%s' "$program: $1" >&2
    return 0
}
progress_done() {
    [ -t 2 ] && printf '\r\033[K' >&2
    return 0
}

# The compiler's and CMake's own messages in a build log, without the build tool's progress, its
# commands and CMake's call stacks; each CMake error joined back into one line.
messages() {
    awk '
        function flush() { if (error != "") { print error; error = "" } }
        /^FAILED: / { command = 1; next }
        command { command = 0; next }
        /^\[[0-9]+\/[0-9]+\] / || /^ninja: / || /^-- / || /^See also / { next }
        /^CMake Error: / { flush(); inError = 1; error = substr($0, 14); next }
        /^CMake Error/ { flush(); inError = 1; next }
        /^Call Stack/ { flush(); inError = 0; inStack = 1; next }
        inError && /^  / { sub(/^ +/, ""); error = error (error == "" ? "" : " ") $0; next }
        inStack && /^  / { next }
        /^$/ { next }
        { flush(); inError = 0; inStack = 0; print }
        END { flush() }' "$1"
}

# The suite: installed, in LIBDIR/registro_personal beside this script's folder; otherwise this
# script is in tools/ of the source tree, and the suite in check-list/ of the build tree.
here=$(dirname -- "$(realpath -- "${BASH_SOURCE[0]}")")
suite=
for conf in "$here"/../lib*/registro_personal/check-list.conf \
    "$here"/../lib/*/registro_personal/check-list.conf; do
    [ -f "$conf" ] && suite=$(realpath -- "${conf%/*}") && break
done
flavour=
[ $mode = asan ] && flavour=_asan

# Sets the build tree up if it is not, and builds the suite's libraries for this mode in it,
# showing how far it got.
build_suite() {
    local build=$1 log=$1/check-list/build.log line status
    mkdir -p -- "$build/check-list" || fail "cannot create the build folder $build"
    if [ ! -f "$build/CMakeCache.txt" ]; then
        [ -t 2 ] || echo "$program: setting the build up in $build" >&2
        progress "setting the build up in $build"
        if ! (cd "$here/.." && cmake --preset default -B "$build") >"$log" 2>&1; then
            progress_done
            messages "$log" >&2
            fail "cannot set the build up (the whole log: $log)"
        fi
    fi
    [ -t 2 ] || echo "$program: building the suite's libraries in $build" >&2
    cmake --build "$build" --target "probeSuiteRunner$flavour" "probeSuiteCases$flavour" 2>&1 |
        tee "$log" | while IFS= read -r line; do
            [[ $line =~ ^\[([0-9]+/[0-9]+)\] ]] &&
                progress "building the suite's libraries in $build: ${BASH_REMATCH[1]}"
        done
    status=${PIPESTATUS[0]}
    progress_done
    if [ "$status" -ne 0 ]; then
        messages "$log" >&2
        fail "cannot build the suite (the whole log: $log)"
    fi
}

# In the source tree: the build tree's suite, built first where this mode's is missing.
if [ -z "$suite" ]; then
    build=$(realpath -m -- "${CHECK_LIST_BUILD_DIR:-$here/../build}")
    suite=$build/check-list
    if [ $mode = asan ] && [ -f "$suite/check-list.conf" ] &&
        ! grep -q "^suite_asan_c_flags=('" "$suite/check-list.conf"; then
        fail "$build builds no sanitised suite (PROBE_SUITE_ASAN is OFF there)"
    fi
    for library in "$suite/libprobeSuiteRunner$flavour.a" "$suite/libprobeSuiteCases$flavour.a"; do
        [ -f "$library" ] || { build_suite "$build" && break; }
    done
fi
# shellcheck source=/dev/null # written by the build; it sets the suite_* arrays
source "$suite/check-list.conf" 2>/dev/null || fail "cannot read $suite/check-list.conf"
# shellcheck disable=SC2154
[ $mode = plain ] || [ ${#suite_asan_c_flags[@]} -gt 0 ] || fail "$suite holds no sanitised suite"
if [ $mode = asan ]; then
    suite_c_flags=("${suite_asan_c_flags[@]}")
    suite_cxx_flags=("${suite_asan_cxx_flags[@]}")
    suite_link_flags+=("${suite_asan_link_flags[@]}")
fi
libraries=("$suite/libprobeSuiteRunner$flavour.a" "$suite/libprobeSuiteCases$flavour.a")
read -ra cc <<<"${CC:-cc}"
read -ra cxx <<<"${CXX:-c++}"
keep=${CHECK_LIST_CACHE_ENTRIES:-16}
[[ $keep =~ ^[1-9][0-9]{0,5}$ ]] ||
    fail "CHECK_LIST_CACHE_ENTRIES must be a whole number from 1, not '$keep'"

# The list's own LinkedList.h beside any of its sources, each read as C where a C source shares its
# folder, as C++ otherwise.
headers=()
declare -A language=()
for source in "${sources[@]}"; do
    header=${source%/*}/LinkedList.h
    [ -f "$header" ] || continue
    [ -n "${language[$header]:-}" ] || headers+=("$header")
    case "$source" in
    *.c) language[$header]=C ;;
    *) : "${language[$header]:=CXX}" ;;
    esac
done

# The cache: a runner for each set of sources, headers beside them, mode, compilers and suite, in
# a folder <key>-<sum>, where sum covers the files the sources included (their list is in the
# folder, as the compiler gave it). A folder is complete once it has its name: each is built under
# a temporary name and renamed into place, so that runs at the same time never share one.
cache=${XDG_CACHE_HOME:-$HOME/.cache}/check-list
key=$({
    printf '%s\n' "$mode" "${cc[*]}" "${cxx[*]}"
    stat -L -c '%n %s %.9Y %i' -- "$suite/check-list.conf" "${libraries[@]}" \
        "$suite/include/LinkedList.h" "$suite/listLayout.c"
    sha256sum -- "${sources[@]}" "${headers[@]}"
} | sha256sum | cut -c1-16)

# The sum of the contents of the files the list in $1 names, one a line.
included_sum() {
    local files=()
    mapfile -t files <"$1"
    { [ ${#files[@]} -eq 0 ] || sha256sum -- "${files[@]}" 2>&1; } | sha256sum | cut -c1-16
}

for entry in "$cache/$key"-*; do
    if [ -x "$entry/probeRunner" ] && [ "$(included_sum "$entry/included")" = "${entry##*-}" ]; then
        touch -- "$entry"
        exec "$entry/probeRunner" "$@"
    fi
done

if ! mkdir -p -- "$cache" || ! work=$(mktemp -d -- "$cache/tmp.XXXXXX"); then
    fail "cannot create the cache folder $cache"
fi
trap 'rm -rf -- "$work"' EXIT
trap 'kill $(jobs -p) 2>/dev/null; exit 130' INT
trap 'kill $(jobs -p) 2>/dev/null; exit 143' TERM
mkdir "$work/build"

# Compiles source number $1, $2, into build/$1.o, which the compiler leaves only where it
# succeeded, its messages in build/$1.log and the files it included in build/$1.d; a file that is
# no C or C++ source is left out, as CMake leaves it. The job becomes the compiler, so that
# stopping the job stops the compiler.
compile() {
    local command
    case "$2" in
    *.c) command=("${cc[@]}" "${suite_c_flags[@]}") ;;
    *.C | *.cc | *.cp | *.cpp | *.CPP | *.cxx | *.c++)
        command=("${cxx[@]}" "${suite_cxx_flags[@]}")
        ;;
    *) return 0 ;;
    esac
    command+=("${suite_warning_flags[@]}" -I "$suite/include" -MMD -MT target -MF "$work/build/$1.d"
        -c "$2" -o "$work/build/$1.o")
    printf '%q ' "${command[@]}" >"$work/build/$1.command"
    touch "$work/build/$1.compiled"
    exec "${command[@]}" >"$work/build/$1.log" 2>&1
}

# Refuses header number $1, $2, unless it lays the records out as the suite's does (the rules
# of listLayout.c, all at once, and when they do not all hold, one by one in field order), with a
# message in build/layout.$1.
check_layout() {
    local header=$2 options line
    if [ "${language[$header]}" = C ]; then
        options=("${cc[@]}" "${suite_c_flags[@]}" -x c)
    else
        options=("${cxx[@]}" "${suite_cxx_flags[@]}" -x c++)
    fi
    local compiler
    trap 'kill "$compiler" 2>/dev/null; exit 143' TERM
    holds() {
        "${options[@]}" -fsyntax-only -DLAYOUT_RULE="$1" -include "$header" "$suite/listLayout.c" \
            >/dev/null 2>&1 &
        compiler=$!
        wait "$compiler"
    }
    holds 0 && return 0
    local rules=()
    mapfile -t rules < <(sed -n 's|^/\* rule \([0-9]*\): \(.*\) \*/$|\1 \2|p' "$suite/listLayout.c")
    if ! holds $((${#rules[@]} + 1)); then
        echo "$header does not compile on its own as ${language[$header]}" >"$work/build/layout.$1"
        return 0
    fi
    for line in "${rules[@]}"; do
        holds "${line%% *}" && continue
        echo "$header lays out the list differently from inc/LinkedList.h, which the cases are" \
            "built with: it differs at ${line#* }." >"$work/build/layout.$1"
        return 0
    done
}

# Runs "$@" in the background, no more jobs at once than there are processors.
in_background() {
    while [ "$(jobs -rp | wc -l)" -ge "$processors" ]; do
        wait -n
    done
    "$@" &
}

# The list's folder, the nearest one above every source, for the runner's sanitizer reports, which
# show paths relative to it: a C definition of probeListFolder, every byte escaped.
folder=${sources[0]%/*}
for source in "${sources[@]}"; do
    while [[ ${source%/*}/ != "$folder"/* ]]; do
        folder=${folder%/*}
    done
done
printf 'const char probeListFolder[] = "%s";\n' \
    "$(printf '%s' "${folder:-/}" | od -An -tx1 -v | tr -d ' \n' | sed 's/../\\x&/g')" \
    >"$work/build/listFolder.c"

names=("${sources[@]##*/}")
progress "building the runner for ${names[*]}"
processors=$(nproc)
for index in "${!headers[@]}"; do
    in_background check_layout "$index" "${headers[$index]}"
done
for index in "${!sources[@]}"; do
    in_background compile "$index" "${sources[$index]}"
done
in_background compile folder "$work/build/listFolder.c"
wait
if compgen -G "$work/build/layout.*" >/dev/null; then
    progress_done
    cat -- "$work"/build/layout.* >&2
    exit 2
fi

# The list's objects linked with the suite: the runner's archive in whole, the cases' as needed.
objects=()
for index in "${!sources[@]}"; do
    [ -f "$work/build/$index.compiled" ] || continue
    [ -f "$work/build/$index.o" ] || touch "$work/build/$index.failed"
    objects+=("$work/build/$index.o")
done
link=("${cxx[@]}" "${suite_cxx_flags[@]}" "${objects[@]}" "$work/build/folder.o"
    "-Wl,--whole-archive" "${libraries[0]}" "-Wl,--no-whole-archive" "${libraries[1]}"
    "${suite_link_flags[@]}")
link+=(-o "$work/probeRunner")
if ! compgen -G "$work/build/*.failed" >/dev/null; then
    printf '%q ' "${link[@]}" >"$work/build/link.command"
    "${link[@]}" >"$work/build/link.log" 2>&1 || touch "$work/build/link.failed"
fi
progress_done
shown=()
for index in "${!sources[@]}" link; do
    [ -f "$work/build/$index.log" ] && shown+=("$work/build/$index.log")
done
# What the compiler and the linker said: warnings, or why the list does not build.
[ ${#shown[@]} -eq 0 ] || cat -- "${shown[@]}" >&2
if compgen -G "$work/build/*.failed" >/dev/null; then
    log=$cache/$key.log
    for index in "${!sources[@]}" link; do
        [ -f "$work/build/$index.command" ] || continue
        cat -- "$work/build/$index.command" && echo && cat -- "$work/build/$index.log"
    done >"$work/build.log"
    mv -f -- "$work/build.log" "$log"
    fail "the list does not build (the whole log: $log)"
fi

# The files the sources included, as the compiler named them (make's syntax: escaped blanks,
# lines continued with a backslash), one a line.
included() {
    cat -- "$work"/build/[0-9]*.d 2>/dev/null | awk '
        { text = text $0 "\n" }
        END {
            gsub(/\\\n/, " ", text)
            gsub(/(^|\n)target: */, " ", text)
            for (i = 1; i <= length(text); i++) {
                c = substr(text, i, 1)
                next_c = substr(text, i + 1, 1)
                if (c == "\\" && (next_c == " " || next_c == "#")) { name = name next_c; i++ }
                else if (c == "$" && next_c == "$") { name = name c; i++ }
                else if (c ~ /[ \t\n]/) { if (name != "") print name; name = "" }
                else name = name c
            }
            if (name != "") print name
        }' | sort -u
}
included >"$work/included"
rm -rf -- "$work/build"
entry=$cache/$key-$(included_sum "$work/included")
# A run at the same time may have put the same runner in place first: either will do.
mv -T -- "$work" "$entry" 2>/dev/null || rm -rf -- "$work"
[ -x "$entry/probeRunner" ] || fail "cannot keep the runner in $cache"

# Old runners and logs go, past the newest $keep, and temporary folders a killed run left.
kept=0
while IFS= read -r name; do
    [[ $name == tmp.* ]] && continue
    kept=$((kept + 1))
    [ $kept -le "$keep" ] || rm -rf -- "${cache:?}/$name"
done < <(ls -1t -- "$cache")
find "$cache" -mindepth 1 -maxdepth 1 -name 'tmp.*' -mmin +60 -exec rm -rf -- {} +
exec "$entry/probeRunner" "$@"
