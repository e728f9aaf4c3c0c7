#!/usr/bin/env bash
# Checks a linked list of your own against the conformance cases and the extended checks in one
# command: copies the list's folder, compiles the copy and links it with the suite's prebuilt runner
# and cases inside a sandbox, keeps that runner in a cache keyed by everything it was built from,
# then has the judge run it, in a sandbox too, with the options given. A list that did not change is
# not built again. Its help (help() below) lists the options; docs/check-list.md says the rest.
# The list's folder is the nearest one above every source; it is copied (hidden entries left out,
# symbolic links kept as links, at most 10000 entries and 64 MiB) and the sandbox sees that copy
# alone, with the suite, read-only: a source or include that reaches outside it is missing.
# Installed (as check-list), it finds the suite in LIBDIR/registro_personal beside its own folder;
# in the source tree, in check-list/ of the build tree (build/, or $CHECK_LIST_BUILD_DIR), which
# it sets up and builds first where the suite is missing.
# Environment: CC and CXX name the compilers (cc and c++ otherwise); the cache,
# ${XDG_CACHE_HOME:-~/.cache}/check-list (a private one for this run alone without either), keeps
# the newest $CHECK_LIST_CACHE_ENTRIES runners (16).
# Its own words are in the user's language where the catalog has them (gettext, domain
# registro_personal); the runner's case lines never are.
set -uo pipefail
umask 077

readonly EXIT_TROUBLE=2 EXIT_BUILD=3 EXIT_LAYOUT=4
program=${0##*/}
here=$(dirname -- "$(realpath -- "${BASH_SOURCE[0]}")")

# The suite: installed, in LIBDIR/registro_personal beside this script's folder; otherwise this
# script is in tools/ of the source tree, and the suite in check-list/ of the build tree.
suite=
for conf in "$here"/../lib*/registro_personal/check-list.conf \
    "$here"/../lib/*/registro_personal/check-list.conf; do
    [ -f "$conf" ] && suite=$(realpath -- "${conf%/*}") && break
done
# The header the cases are built with, as this user has it: installed beside the suite, where the
# package puts it for the copy the build writes the manual page from, or in the source tree.
includedir='@CMAKE_INSTALL_INCLUDEDIR@'
[[ $includedir != @* ]] || includedir=include
if [ -n "$suite" ]; then
    list_header=$(realpath -m -- "$here/../$includedir/registro_personal/LinkedList.h")
elif [[ '@REGISTRO_HEADER@' != @* ]]; then
    list_header='@REGISTRO_HEADER@'
else
    list_header=$(realpath -m -- "$here/../inc/LinkedList.h")
fi

# The checker's words from the build tree's catalogs or the installed ones, wherever the prefix;
# looked for again once a build tree set up here has made them.
export TEXTDOMAIN=registro_personal
find_catalogs() {
    local localedir='@CMAKE_INSTALL_LOCALEDIR@' locales
    [[ $localedir != @* ]] || localedir=share/locale
    for locales in "$here/../$localedir" "${CHECK_LIST_BUILD_DIR:-$here/../build}/share/locale"; do
        [ -n "$(compgen -G "$locales/*/LC_MESSAGES/$TEXTDOMAIN.mo")" ] &&
            export TEXTDOMAINDIR=$locales && return
    done
}
[ -n "${TEXTDOMAINDIR:-}" ] || find_catalogs
# say FORMAT [ARGUMENT...]: the format in the user's language, filled in as printf does, no newline.
say() {
    local format
    # The x keeps the format's line ends at its end, which a command substitution drops.
    if format=$(gettext "$1" 2>/dev/null && printf x); then
        format=${format%x}
    else
        format=$1
    fi
    shift
    # shellcheck disable=SC2059 # the format is the catalog's
    printf -- "$format" "$@"
}

usage() {
    say 'Usage: %s [OPTION]... SOURCE... [-- RUNNER_OPTION...]\n' "$program"
    say '  or:  %s --check-setup [OPTION]... [-- RUNNER_OPTION...]\n' "$program"
    say '  or:  %s --class DIR [CLASS_OPTION]...\n' "$program"
}
help() {
    usage
    say "
Builds a linked list of your own in a sandbox against the conformance cases, and runs them and
the extended checks, leaks included, the verdicts decided outside the list's reach. The
SOURCE files (.c, .cpp) implement the functions of the list's header:
%s,
or a LinkedList.h of their own beside them that lays the records out alike.

Options:
  --basic            run the 33 conformance cases alone, without the extended checks
  --asan             build the list, and link it with the suite, under AddressSanitizer and
                     UndefinedBehaviorSanitizer
  --no-sandbox       build and run without bubblewrap, for a list you trust
  --check-setup      check what is the grader's and not the list's: the suite, the cache,
                     TMPDIR, the sandbox and the runner options
  --class DIR        check every folder under DIR as a submission (its options:
                     --class DIR --help)
  --help             show this help
  --version          show the version

Runner options (also after --, as probeRunner takes them):
  --group NAME       run only the cases of group NAME (may be repeated)
  --case NAME        run only case NAME, such as extractProbeCase04 or Case04 (may be repeated)
  --seed N           draw the extended checks' random operations from seed N
  --timeout SECONDS  fail a case still running after SECONDS
  --case-timeout NAME=SECONDS  the same for case NAME alone (may be repeated)
  --failures         show only the failed cases and the summary
  --report           after the results, print the whole report the cases wrote
  --verbose          show a sanitizer's reports whole
  --tap              write a TAP stream instead of the plain lines
  --list             list the selected cases instead of running them
  --json FILE        also write the results to FILE as graders' JSON
  --junit FILE       also write the results to FILE as JUnit XML
  --weights FILE     the points of the cases in the JSON (default: one a case)
  --repro FILE       when the model check fails, write its program to FILE

Exit status: 0 every case passed, 1 a case failed, 2 the checker could not do its work (a
wrong command line, no sandbox, a broken suite), 3 the list does not compile or link, 4 its
LinkedList.h lays the records out otherwise than the header above, or does not compile on its
own.
" "$list_header"
}
fail() {
    echo "$program: $1" >&2
    exit "${2:-$EXIT_TROUBLE}"
}
# The build writes the version into an installed copy; the source tree reads it where it is kept.
version() {
    local version='@PROJECT_VERSION@'
    [[ $version != @* ]] ||
        version=$(sed -n 's/^project(registro_personal VERSION \([0-9.]*\).*/\1/p' \
            "$here/../CMakeLists.txt")
    echo "$program $version"
}
# A wrong command line: the reason, then the help.
refuse() {
    echo "$program: $1" >&2
    help >&2
    exit $EXIT_TROUBLE
}
# The numbers on the command line, in the one form every program of the checker reads them:
# decimal digits alone, no sign, blank, exponent, hexadecimal or octal form, nothing after them.
# digits_at_most TEXT MOST: whether TEXT, digits alone, holds no more than MOST (digits too), which
# may lie beyond what the shell's arithmetic holds.
digits_at_most() {
    local text=$1 most=$2
    while [[ $text == 0?* ]]; do text=${text#0}; done
    ((${#text} < ${#most})) || { ((${#text} == ${#most})) && [[ ! $text > $most ]]; }
}
# whole OPTION TEXT LEAST MOST: refuses TEXT unless it holds a whole number from LEAST to MOST.
whole() {
    if ! [[ $2 =~ ^[0-9]+$ ]] || ! digits_at_most "$2" "$4" ||
        { (($3 > 0)) && digits_at_most "$2" "$(($3 - 1))"; }; then
        refuse "$(say "option '%s' takes a whole number from %s to %s in decimal digits, not '%s'" \
            "$1" "$3" "$4" "$2")"
    fi
}
# The most seconds a case may be given: a day.
readonly MOST_SECONDS=86400
# is_seconds TEXT: whether TEXT is digits with at most one '.' between digits, above 0 and at most
# MOST_SECONDS.
is_seconds() {
    [[ $1 =~ ^[0-9]+(\.[0-9]+)?$ ]] && awk -v t="$1" -v m=$MOST_SECONDS 'BEGIN { exit !(t > 0 && t <= m) }'
}
seconds() {
    is_seconds "$2" ||
        refuse "$(say "option '%s' takes seconds above 0 and at most %s, in decimal digits with an optional fraction such as 0.5, not '%s'" \
            "$1" $MOST_SECONDS "$2")"
}
# check_runner_option OPTION VALUE: refuses the numbers the runner would, in the same words.
check_runner_option() {
    case "$1" in
    --seed) whole "$1" "$2" 0 18446744073709551615 ;;
    --timeout) seconds "$1" "$2" ;;
    --case-timeout)
        [[ $2 == ?*=* ]] && is_seconds "${2#*=}" ||
            refuse "$(say "a case's timeout is NAME=SECONDS, a case's full name and seconds as --timeout takes them, not '%s'" "$2")"
        ;;
    esac
}
# A whole class: the class runner, installed beside the suite or built in the build tree, checks
# each submission with this script (docs/grading.md). In a source tree not built yet, it is built
# first.
if [ "${1:-}" = --class ]; then
    class=$(compgen -G "$here/../lib*/registro_personal/checkClass" ||
        compgen -G "$here/../lib/*/registro_personal/checkClass" ||
        echo "${CHECK_LIST_BUILD_DIR:-$here/../build}/bin/checkClass")
    class=${CHECK_CLASS:-${class%%$'\n'*}}
    if [ ! -x "$class" ] && [ -z "${CHECK_CLASS:-}" ] && [ -f "$here/../CMakePresets.json" ]; then
        build=$(realpath -m -- "${CHECK_LIST_BUILD_DIR:-$here/../build}")
        if ! { [ -f "$build/CMakeCache.txt" ] ||
            (cd "$here/.." && cmake --preset default -B "$build"); } >/dev/null 2>&1 ||
            ! cmake --build "$build" --target checkClass checkListSuite translations \
                >/dev/null 2>&1; then
            fail "$(say "cannot build the class runner: run 'cmake --preset default && cmake --build build --target checkClass'")"
        fi
    fi
    [ -x "$class" ] || fail "$(say "no class runner at %s: run 'cmake --build build --target checkClass'" "$class")"
    exec "$class" --check-list "$(realpath -- "$0")" "$@"
fi

# Help and the version win wherever they stand before "--", as in every program of the checker.
for argument in "$@"; do
    case "$argument" in
    --) break ;;
    -h | --help) help && exit 0 ;;
    --version) version && exit 0 ;;
    esac
done
mode=plain
sandboxed=1
setup=
extended=1
sources=()
runner_options=()
while [ $# -gt 0 ]; do
    case "$1" in
    --basic) extended= ;;
    --asan) mode=asan ;;
    --no-sandbox) sandboxed= ;;
    --check-setup) setup=1 ;;
    # A mode that checks something other than a list takes its option here, before any source,
    # and hands the rest of the command line over to its own program.
    --) shift && break ;;
    # The runner's options, which a source's name cannot be mistaken for; each value its own word,
    # as the judge reads them.
    --failures | --report | --verbose | --tap | --list) runner_options+=("$1") ;;
    --group=* | --case=* | --seed=* | --timeout=* | --case-timeout=* | --json=* | --junit=* | \
        --weights=* | --repro=*)
        check_runner_option "${1%%=*}" "${1#*=}"
        runner_options+=("${1%%=*}" "${1#*=}")
        ;;
    --group | --case | --seed | --timeout | --case-timeout | --json | --junit | --weights | --repro)
        [ $# -gt 1 ] || refuse "$(say "option '%s' needs a value" "$1")"
        check_runner_option "$1" "$2"
        runner_options+=("$1" "$2")
        shift
        ;;
    --basic=* | --asan=* | --no-sandbox=* | --check-setup=* | --help=* | -h=* | --version=* | \
        --failures=* | --report=* | --verbose=* | --tap=* | --list=*)
        refuse "$(say "option '%s' takes no value" "${1%%=*}")"
        ;;
    -*) refuse "$(say "unknown option '%s'" "$1")" ;;
    *)
        # A source is named by where it is, never by where a link of it leads: the copy keeps the
        # link, which leads nowhere inside the sandbox when it leads out of the folder.
        { [ -f "$1" ] || [ -L "$1" ]; } || fail "$(say "no list source '%s'" "$1")"
        source=$1
        [[ $source == /* ]] || source=$PWD/$source
        sources+=("$(realpath -s -m -- "$source")")
        ;;
    esac
    shift
done
# The extended checks, leaks included, unless the 33 cases alone were asked for: the runner's
# options as the judge, the reference and the setup check all get them.
[ -z "$extended" ] || runner_options=(--extended "${runner_options[@]}")
set -- "${runner_options[@]}" "$@"
[ -n "$setup" ] || [ ${#sources[@]} -gt 0 ] || refuse "$(say "name the list's source files")"
[ -z "$setup" ] || [ ${#sources[@]} -eq 0 ] || refuse "$(say '%s checks no list' --check-setup)"
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

flavour=
[ $mode = asan ] && flavour=_asan

# Sets the build tree up if it is not, and builds the suite's libraries for this mode in it,
# showing how far it got.
build_suite() {
    local build=$1 log=$1/check-list/build.log line status
    mkdir -p -- "$build/check-list" || fail "$(say "cannot create the build folder %s" "$build")"
    if [ ! -f "$build/CMakeCache.txt" ]; then
        [ -t 2 ] || echo "$program: $(say "setting the build up in %s" "$build")" >&2
        progress "$(say "setting the build up in %s" "$build")"
        if ! (cd "$here/.." && cmake --preset default -B "$build") >"$log" 2>&1; then
            progress_done
            messages "$log" >&2
            fail "$(say "cannot set the build up (the whole log: %s)" "$log")"
        fi
    fi
    [ -t 2 ] || echo "$program: $(say "building the suite's libraries in %s" "$build")" >&2
    cmake --build "$build" --target "probeSuiteRunner$flavour" "probeSuiteCases$flavour" \
        referenceRunner listJudge translations 2>&1 |
        tee "$log" | while IFS= read -r line; do
            [[ $line =~ ^\[([0-9]+/[0-9]+)\] ]] &&
                progress "$(say "building the suite's libraries in %s: %s" "$build" "${BASH_REMATCH[1]}")"
        done
    status=${PIPESTATUS[0]}
    progress_done
    if [ "$status" -ne 0 ]; then
        messages "$log" >&2
        fail "$(say "cannot build the suite (the whole log: %s)" "$log")"
    fi
}

# In the source tree: the build tree's suite, built first where this mode's is missing.
if [ -z "$suite" ]; then
    build=$(realpath -m -- "${CHECK_LIST_BUILD_DIR:-$here/../build}")
    suite=$build/check-list
    if [ $mode = asan ] && [ -f "$suite/check-list.conf" ] &&
        ! grep -q "^suite_asan_c_flags=('" "$suite/check-list.conf"; then
        fail "$(say "%s builds no sanitised suite (PROBE_SUITE_ASAN is OFF there)" "$build")"
    fi
    for library in "$suite/libprobeSuiteRunner$flavour.a" "$suite/libprobeSuiteCases$flavour.a" \
        "$suite/referenceRunner" "$suite/listJudge"; do
        [ -f "$library" ] || { build_suite "$build" && break; }
    done
    [ -n "${TEXTDOMAINDIR:-}" ] || find_catalogs
fi
# shellcheck source=/dev/null # written by the build; it sets the suite_* arrays
source "$suite/check-list.conf" 2>/dev/null || fail "$(say "cannot read %s/check-list.conf" "$suite")"
# shellcheck disable=SC2154
[ $mode = plain ] || [ ${#suite_asan_c_flags[@]} -gt 0 ] || fail "$(say "%s holds no sanitised suite" "$suite")"
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
    fail "$(say "CHECK_LIST_CACHE_ENTRIES must be a whole number from 1, not '%s'" "$keep")"
sandbox=$suite/sandbox
reference=$suite/referenceRunner
# Without the sandbox no list is built or run: the checker never falls back to running without one.
check_sandbox() {
    [ -z "$sandboxed" ] || "$sandbox" --probe || exit $EXIT_TROUBLE
}

# The temporary folders are handed to the sandbox and used from other folders: absolute, always.
if [ -n "${TMPDIR:-}" ]; then
    [[ $TMPDIR == /* ]] || fail "$(say "TMPDIR must be an absolute path, not '%s'" "$TMPDIR")"
    { [ -d "$TMPDIR" ] && [ -w "$TMPDIR" ]; } ||
        fail "$(say "TMPDIR (%s) is no folder this account can write in" "$TMPDIR")"
fi

# The cache, private to the account; without a home to keep it in, private to this run.
temporary=()
kept=
trap 'rm -rf -- "${temporary[@]}" ${kept:+"$kept"}' EXIT
trap 'kill $(jobs -p) 2>/dev/null; exit 130' INT
trap 'kill $(jobs -p) 2>/dev/null; exit 143' TERM
cache_home=${XDG_CACHE_HOME:-${HOME:+$HOME/.cache}}
if [ -n "$cache_home" ]; then
    cache=$cache_home/check-list
    { mkdir -p -- "$cache" && chmod 700 -- "$cache"; } 2>/dev/null ||
        fail "$(say "cannot make the cache folder %s private" "$cache")"
else
    cache=$(mktemp -d) || fail "$(say "cannot create a temporary cache folder")"
    temporary+=("$cache")
fi

if [ -n "$setup" ]; then
    [ -x "$reference" ] && [ -x "$suite/listJudge" ] || fail "$(say "%s has no referenceRunner or listJudge" "$suite")"
    check_sandbox
    # The runner options as the reference runner reads them: the first line of its own message
    # says what is wrong, without the usage that follows it.
    if ! refusal=$("$reference" --list "$@" 2>&1 </dev/null >/dev/null); then
        echo "${refusal%%$'\n'*}" >&2
        exit $EXIT_TROUBLE
    fi
    exit 0
fi
check_sandbox

# The list's folder, the nearest one above every source, copied: the build and the run see the copy
# alone, so that the list cannot change between being built and being run, and a link in it leads
# nowhere outside. Hidden entries (.git and the like) and what is neither file, folder nor link stay
# behind.
folder=${sources[0]%/*}
for source in "${sources[@]}"; do
    while [[ ${source%/*}/ != "$folder"/* ]]; do
        folder=${folder%/*}
    done
done
max_entries=10000 max_bytes=$((64 * 1024 * 1024))
copy=$(mktemp -d) || fail "$(say "cannot create a temporary folder")"
temporary+=("$copy")
copy_list() {
    local entries bytes
    read -r entries bytes < <(find "${folder:-/}/" -mindepth 1 -name '.*' -prune -o \
        \( -type f -o -type d -o -type l \) -printf '%s\n' 2>/dev/null |
        awk '{ n++; s += $1 } END { print n + 0, s + 0 }')
    if [ "$entries" -gt $max_entries ] || [ "$bytes" -gt $max_bytes ]; then
        fail "$(say "the list's folder %s is too large to check (%s entries, %s bytes; at most %s and %s)" "${folder:-/}" "$entries" "$bytes" "$max_entries" "$max_bytes")" $EXIT_BUILD
    fi
    (cd "${folder:-/}/" && find . -mindepth 1 -name '.*' -prune -o \
        \( -type f -o -type d -o -type l \) -print0 |
        tar --null --no-recursion -T - -cf - 2>/dev/null) | tar -xf - -C "$copy" ||
        fail "$(say "cannot copy the list's folder %s" "${folder:-/}")"
    # A folder the list keeps read-only would outlive this run: the copy is this account's to remove.
    chmod -R u+rwX -- "$copy"
    # Files that grew while being copied count as they are in the copy.
    bytes=$(find "$copy" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
    [ "$bytes" -le $max_bytes ] ||
        fail "$(say "the list's folder %s is too large to check (%s bytes; at most %s)" "${folder:-/}" "$bytes" "$max_bytes")" $EXIT_BUILD
}
copy_list
names=("${sources[@]#"${folder}"/}")

# Runs "$@" on the copy: in the sandbox, the copy read-only at /list, the suite at /suite and the
# writable folder $1 at /build; without it, the same with the host's paths in $LIST, $SUITE, $OUT.
confined() {
    local out=$1
    shift
    if [ -n "$sandboxed" ]; then
        "$sandbox" --ro "$copy" /list --ro "$suite" /suite --rw "$out" /build --chdir /list \
            --setenv SUITE /suite --setenv OUT /build -- "$@"
    else
        (cd "$copy" && SUITE=$suite OUT=$out "$@")
    fi
}

# What builds the runner, in the sandbox: every LinkedList.h beside a source checked against the
# suite's layout, every source compiled, all linked with the suite. It reads the plan the trusted
# side wrote ($OUT/plan), and leaves $OUT/probeRunner, or $OUT/layout (status 4) or a failed build
# (status 3), with the compilers' messages and the files they read in $OUT.
# shellcheck disable=SC2016 # expanded inside the sandbox
build_script='
set -u
source "$OUT/plan"
mkdir -p "$OUT/objects"
processors=$(nproc)
in_background() {
    while [ "$(jobs -rp | wc -l)" -ge "$processors" ]; do wait -n; done
    "$@" &
}
compile() {
    local command
    case "$2" in
    *.c) command=("${cc[@]}" "${suite_c_flags[@]}") ;;
    *.C | *.cc | *.cp | *.cpp | *.CPP | *.cxx | *.c++) command=("${cxx[@]}" "${suite_cxx_flags[@]}") ;;
    *) return 0 ;;
    esac
    command+=("${suite_warning_flags[@]}" -I "$SUITE/include" -MD -MT target -MF "$OUT/objects/$1.d"
        -c "$2" -o "$OUT/objects/$1.o")
    printf "%q " "${command[@]}" >"$OUT/objects/$1.command"
    touch "$OUT/objects/$1.compiled"
    exec "${command[@]}" >"$OUT/objects/$1.log" 2>&1
}
layout() {
    local options
    if [ "${language[$2]}" = C ]; then options=("${cc[@]}" "${suite_c_flags[@]}" -x c)
    else options=("${cxx[@]}" "${suite_cxx_flags[@]}" -x c++); fi
    LAYOUT_HEADER=$list_header bash "$SUITE/checkLayout.sh" "$2" "${language[$2]}" \
        "$SUITE/listLayout.c" "${options[@]}" >"$OUT/objects/layout.$1" || return 0
    rm -f "$OUT/objects/layout.$1"
}
for index in "${!headers[@]}"; do in_background layout "$index" "${headers[$index]}"; done
for index in "${!sources[@]}"; do in_background compile "$index" "${sources[$index]}"; done
in_background compile folder "$OUT/listFolder.c"
wait
if compgen -G "$OUT/objects/layout.*" >/dev/null; then
    cat "$OUT"/objects/layout.* >"$OUT/layout"
    exit 0
fi
objects=()
for index in "${!sources[@]}"; do
    [ -f "$OUT/objects/$index.compiled" ] || continue
    [ -f "$OUT/objects/$index.o" ] || touch "$OUT/objects/$index.failed"
    objects+=("$OUT/objects/$index.o")
done
link=("${cxx[@]}" "${suite_cxx_flags[@]}" "${objects[@]}" "$OUT/objects/folder.o"
    -Wl,--whole-archive "$SUITE/${libraries[0]}" -Wl,--no-whole-archive "$SUITE/${libraries[1]}"
    "${suite_link_flags[@]}" -o "$OUT/probeRunner")
if ! compgen -G "$OUT/objects/*.failed" >/dev/null; then
    printf "%q " "${link[@]}" >"$OUT/objects/link.command"
    "${link[@]}" >"$OUT/objects/link.log" 2>&1 || touch "$OUT/objects/link.failed"
fi
# A main() of the list'"'"'s own, where the runner has its own: where it is, from the debugging
# information, in $OUT/main.
if grep -q "multiple definition of .main'"'"'" "$OUT/objects/link.log" 2>/dev/null; then
    for index in "${!sources[@]}"; do
        where=$(nm -l --defined-only "$OUT/objects/$index.o" 2>/dev/null |
            sed -n "s|^[0-9a-f]* T main\t\(/list/\)\{0,1\}||p")
        if [ -z "$where" ] && nm --defined-only "$OUT/objects/$index.o" 2>/dev/null |
            grep -q " T main$"; then
            where=${sources[$index]}
        fi
        [ -z "$where" ] || { echo "$where" >"$OUT/main"; break; }
    done
fi
'

# The compilers as this account finds them: where they are and what they say they are.
compilers() {
    local compiler
    for compiler in "${cc[0]}" "${cxx[0]}"; do
        compiler=$(command -v -- "$compiler") && realpath -- "$compiler" &&
            "$compiler" --version 2>&1 | head -1
    done
}

# The list's own LinkedList.h beside any of its sources, each read as C where a C source shares its
# folder, as C++ otherwise.
headers=()
declare -A language=()
for name in "${names[@]}"; do
    header=LinkedList.h
    [[ $name == */* ]] && header=${name%/*}/LinkedList.h
    [ -f "$copy/$header" ] || continue
    [ -n "${language[$header]:-}" ] || headers+=("$header")
    case "$name" in
    *.c) language[$header]=C ;;
    *) : "${language[$header]:=CXX}" ;;
    esac
done

# The cache: a runner for each copy of a list (every name and content in it), mode, compilers and
# suite, in a folder <key>-<sum>, where sum covers the files outside the list and the suite that
# its sources included (their list is in the folder, as the compiler gave it). A folder is complete
# once it has its name: each is made under a temporary name and renamed into place.
key=$({
    printf '%s\n' "$mode" "${cc[*]}" "${cxx[*]}" "${names[@]}"
    compilers
    find "$suite/" -maxdepth 2 -type f -printf '%P %s %T@\n' | sort
    cd "$copy" && find . -printf '%y %p %l\n' | LC_ALL=C sort &&
        find . -type f -print0 | LC_ALL=C sort -z | xargs -0r sha256sum --
} | sha256sum | cut -c1-16)

# The sum of the contents of the files the list in $1 names, one a line.
included_sum() {
    local files=()
    mapfile -t files <"$1"
    { [ ${#files[@]} -eq 0 ] || sha256sum -- "${files[@]}" 2>&1; } | sha256sum | cut -c1-16
}

# Takes a shared lock on entry $1's runner, held until this script ends, so that no eviction
# removes it while it runs; false when it went before the lock was taken.
hold() {
    { exec {lock}<"$1/probeRunner"; } 2>/dev/null || return 1
    flock -s "$lock" && [ -x "$1/probeRunner" ] && entry=$1 && return 0
    exec {lock}<&-
    return 1
}

# Has the judge run the cached runner in $entry, in the sandbox, beside the reference runner,
# with the options given; its status is the check's. The judge is a job, so that stopping this
# script stops it, and it never gets the lock's descriptor. The reference's lines for a seed the
# options give are kept in references/ of the cache given, for the next list checked with it.
run_checks() {
    local judge=("$suite/listJudge" --runner "$entry/probeRunner" --reference "$reference"
        --cache "$1/references")
    shift
    if [ -n "$sandboxed" ]; then
        judge+=(--sandbox "$sandbox")
    else
        judge+=(--no-sandbox)
    fi
    [ $mode = plain ] || judge+=(--asan)
    "${judge[@]}" -- "$@" </dev/null {lock}<&- &
    wait $!
}

entry=
for candidate in "$cache/$key"-*; do
    [ -x "$candidate/probeRunner" ] &&
        [ "$(included_sum "$candidate/included")" = "${candidate##*-}" ] &&
        hold "$candidate" && touch -- "$candidate" && break
done

if [ -z "$entry" ]; then
    work=$(mktemp -d) || fail "$(say "cannot create a temporary folder")"
    temporary+=("$work")
    {
        # shellcheck disable=SC2154 # set by check-list.conf
        declare -p cc cxx headers language suite_c_flags suite_cxx_flags suite_warning_flags \
            suite_link_flags
        sources=("${names[@]}")
        declare -p sources list_header
        libraries=("libprobeSuiteRunner$flavour.a" "libprobeSuiteCases$flavour.a")
        declare -p libraries
    } >"$work/plan"
    # The folder the list has inside the run's sandbox, for the runner's sanitizer reports.
    echo 'const char probeListFolder[] = "/list";' >"$work/listFolder.c"
    progress "$(say "building the runner for %s" "${names[*]}")"
    confined "$work" bash -c "$build_script" || fail "$(say "cannot build the runner")"
    progress_done
    if [ -f "$work/layout" ]; then
        cat -- "$work/layout" >&2
        exit $EXIT_LAYOUT
    fi
    shown=()
    for index in "${!names[@]}" link; do
        [ -f "$work/objects/$index.log" ] && shown+=("$work/objects/$index.log")
    done
    # What the compiler and the linker said: warnings, or why the list does not build.
    [ ${#shown[@]} -eq 0 ] || [ -f "$work/main" ] || cat -- "${shown[@]}" >&2
    if [ -f "$work/main" ]; then
        echo "$(head -1 -- "$work/main"): $(say "the list defines main(), and the runner the cases run in has its own: leave main out of the list, or name only the list's sources")" >&2
        exit $EXIT_BUILD
    fi
    if compgen -G "$work/objects/*.failed" >/dev/null; then
        log=$cache/$key.log
        for index in "${!names[@]}" link; do
            [ -f "$work/objects/$index.command" ] || continue
            cat -- "$work/objects/$index.command" && echo && cat -- "$work/objects/$index.log"
        done >"$work/build.log"
        mv -f -- "$work/build.log" "$log"
        fail "$(say "the list does not build (the whole log: %s)" "$log")" $EXIT_BUILD
    fi
    [ -x "$work/probeRunner" ] || fail "$(say "cannot build the runner")"

    # The files the sources read outside the list's folder and the suite, as the compiler named
    # them (make's syntax: escaped blanks, lines continued with a backslash), one a line.
    kept=$(mktemp -d -- "$cache/tmp.XXXXXX") || fail "$(say "cannot create a folder in the cache %s" "$cache")"
    cat -- "$work"/objects/[0-9]*.d 2>/dev/null | awk '
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
        }' | grep '^/' | grep -v -e '^/suite/' -e '^/build/' |
        grep -v -F -e "$suite/" -e "$work/" |
        sort -u >"$kept/included"
    { cp -- "$work/probeRunner" "$kept/probeRunner" && hold "$kept"; } ||
        fail "$(say "cannot keep the runner in %s" "$cache")"
    # Held before it has its name, so that no eviction takes it first. A run at the same time may
    # have put the same runner in place: this one then serves this run alone.
    candidate=$cache/$key-$(included_sum "$kept/included")
    mv -T -- "$kept" "$candidate" 2>/dev/null && entry=$candidate kept=

    # Old runners and logs go, past the newest $keep, unless a run holds them, and temporary folders
    # a killed run left.
    count=0
    while IFS= read -r name; do
        [[ $name == tmp.* || $name == references ]] && continue
        count=$((count + 1))
        [ $count -gt "$keep" ] || continue
        if [ -f "$cache/$name/probeRunner" ]; then
            flock -xn "$cache/$name/probeRunner" rm -rf -- "${cache:?}/$name"
        else
            rm -rf -- "${cache:?}/$name"
        fi
    done < <(ls -1t -- "$cache")
    find "$cache" -mindepth 1 -maxdepth 1 -name 'tmp.*' -mmin +60 -exec rm -rf -- {} +
    # The reference's lines of past seeds, past the newest $keep.
    [ -d "$cache/references" ] && ls -1t -- "$cache/references" | tail -n +$((keep + 1)) |
        while IFS= read -r name; do rm -f -- "$cache/references/$name"; done
fi
run_checks "$cache" "$@"
