#!/usr/bin/env bash
# Shows every program at work, each in a temporary folder of its own.
# Usage: demo.sh BIN_DIR DATA_DIR
set -euo pipefail
bin=$(realpath "$1")
data=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

section() { printf '\n==== %s ====\n' "$1"; }

section "ioPrimer: write archivo.txt, read its first four bytes back"
mkdir "$work/ioPrimer"
(cd "$work/ioPrimer" && "$bin/ioPrimer")
printf '\n-- archivo.txt (%s bytes) --\n' "$(stat -c %s "$work/ioPrimer/archivo.txt")"
od -A d -t x1z "$work/ioPrimer/archivo.txt"

section "main: salaries of the sample payroll archivo.csv into sueldos.csv"
mkdir "$work/main"
cp "$data/archivo.csv" "$work/main/"
(cd "$work/main" && "$bin/main")
printf '\n-- sueldos.csv (%s lines) --\n' "$(wc -l <"$work/main/sueldos.csv")"
cat "$work/main/sueldos.csv"
section "registro: a scripted session at a pseudo-terminal (answers typed ahead, not echoed)"
# registro discards whatever a pipe has buffered ahead of each question, so it needs a terminal
# handing it one line per read: script(1) gives it one.
if command -v script >/dev/null; then
    mkdir "$work/registro"
    (cd "$work/registro" &&
        timeout 20 script --quiet --return --echo never --command "$(printf '%q' "$bin/registro")" \
            /dev/null <<'ANSWERS' | tr -d '\r'
1
Ana
Paz
1500.50
2
1
Luis
Rey
mucho
300
3
4
2
4
1
0
3
2
s
5
ANSWERS
    )
else
    echo "(script(1) is not installed: run build/bin/registro yourself)"
fi
section "ventas: five figures about the sample sales"
mkdir "$work/ventas"
cp "$data/ventas.csv" "$work/ventas/"
(cd "$work/ventas" && "$bin/ventas")
section "probeRunner: the list conformance suite against the bundled list"
"$bin/probeRunner"
