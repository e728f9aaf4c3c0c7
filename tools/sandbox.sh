#!/usr/bin/env bash
# Runs a command on code nobody vouches for, inside a bubblewrap sandbox: the system's programs
# and libraries read-only, a private /tmp, the folders the caller names and nothing else. No
# home folder, no network, no terminal, no other process, no environment but a bare one.
#
# Usage: sandbox.sh [--ro HOST INSIDE]... [--rw HOST INSIDE]... [--chdir DIR]
#                   [--setenv NAME VALUE]... -- COMMAND [ARGUMENT...]
#        sandbox.sh --probe
#   --ro, --rw   show the host's folder or file HOST at INSIDE, read-only or writable
#   --chdir      start COMMAND in DIR (a path inside); /tmp otherwise
#   --setenv     set NAME in COMMAND's environment, besides PATH, HOME and TMPDIR
#   --probe      make an empty sandbox: status 0 where one can be made, otherwise 2 and one line
#                saying why
# Descriptors the caller left open (and not close-on-exec) reach COMMAND as they are: standard
# input, output and error, and any result pipe. COMMAND starts a session of its own, so that it has
# no controlling terminal even where one of those descriptors is a terminal.
# Exit status: COMMAND's; 2 with one line on standard error when the sandbox cannot be made.
set -euo pipefail

program=check-list
fail() {
    echo "$program: $1" >&2
    exit 2
}

command -v bwrap >/dev/null ||
    fail "cannot make a sandbox: bwrap is not installed (Debian package bubblewrap); --no-sandbox checks without one, for a list you trust"

# The system, read-only: /usr and the top-level links or folders of the programs and libraries,
# and from /etc only what the compilers and the dynamic linker read (the alternatives that
# /usr/bin/cc is, the linker's cache), never the accounts or the machine's secrets.
arguments=(--unshare-all --die-with-parent --new-session --clearenv
    --ro-bind /usr /usr --proc /proc --dev /dev --tmpfs /tmp --dir /etc)
for name in bin sbin lib lib32 lib64 libx32; do
    if [ -L "/$name" ]; then
        arguments+=(--symlink "$(readlink "/$name")" "/$name")
    elif [ -d "/$name" ]; then
        arguments+=(--ro-bind "/$name" "/$name")
    fi
done
for name in alternatives ld.so.cache ld.so.conf ld.so.conf.d; do
    [ -e "/etc/$name" ] && arguments+=(--ro-bind "/etc/$name" "/etc/$name")
done
arguments+=(--setenv PATH /usr/local/bin:/usr/bin:/bin --setenv HOME /tmp --setenv TMPDIR /tmp
    --setenv LC_ALL C.UTF-8)

if [ "${1:-}" = --probe ]; then
    reason=$(bwrap "${arguments[@]}" --chdir /tmp -- /bin/true 2>&1 </dev/null) && exit 0
    reason=${reason##*bwrap: }
    fail "cannot make a sandbox: ${reason:-bwrap failed}; unprivileged user namespaces may be off (docs/security.md says how to allow them); --no-sandbox checks without one, for a list you trust"
fi

chdir=/tmp
while [ $# -gt 0 ]; do
    case "$1" in
    --ro) arguments+=(--ro-bind "$2" "$3") && shift 3 ;;
    --rw) arguments+=(--bind "$2" "$3") && shift 3 ;;
    --chdir) chdir=$2 && shift 2 ;;
    --setenv) arguments+=(--setenv "$2" "$3") && shift 3 ;;
    --) shift && break ;;
    *) fail "sandbox: unknown option '$1'" ;;
    esac
done
[ $# -gt 0 ] || fail "sandbox: name the command to run"
exec bwrap "${arguments[@]}" --chdir "$chdir" -- "$@"
