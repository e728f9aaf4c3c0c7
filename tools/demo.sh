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
section "registro: two sessions over one register file, answers piped in (not echoed)"
mkdir "$work/registro"
(cd "$work/registro" && "$bin/registro" <<'ANSWERS'
1
José
Pérez-López
1500.50
2
1
Eva
O'Brien
mucho
300
3
3
2
s
1
Luis
Muñoz
1234.56
1
ANSWERS
)
printf '\n-- empleados.csv after the first session --\n'
cat "$work/registro/empleados.csv"
(cd "$work/registro" && "$bin/registro" <<'ANSWERS'
4
1
0
5
ANSWERS
)
section "ventas: five figures about the sample sales"
mkdir "$work/ventas"
cp "$data/ventas.csv" "$work/ventas/"
(cd "$work/ventas" && "$bin/ventas")
section "probeRunner: the list conformance suite against the bundled list"
"$bin/probeRunner"
section "probeRunner --extended: the extended checks and the model check as well (last line)"
"$bin/probeRunner" --extended | tail -n 1
