#!/bin/sh
# The checker the mutation tool's test stands in for check-list.sh: builds the mutant SOURCE with
# a main that asks clamp(5, 3) only, and runs it. Usage: clampCheck.sh SOURCE -- RUNNER_OPTION...
# Exit status: 0 when clamp(5, 3) is 3, 1 when not, as the runner's for a pass and a failed case.
work=$(mktemp -d) || exit 2
trap 'rm -rf "$work"' EXIT
printf 'int clamp(int, int);\nint main(void) { return clamp(5, 3) == 3 ? 0 : 1; }\n' >"$work/main.c"
"${CC:-cc}" -w -o "$work/check" "$work/main.c" "$1" || exit 2
"$work/check"
