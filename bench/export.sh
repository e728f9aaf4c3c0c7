#!/usr/bin/env bash
# Times the salary export against a mawk one-liner that does the same job, on seeded payrolls of
# 100,000 and 1,000,000 employees: checks that both write the same bytes, then prints the CPU time
# (user + system, best of several runs), the ratio, how the time grows with ten times the rows,
# and the peak memory of the program.
# Usage: bench/export.sh [PATH_TO_MAIN] [RUNS]   (default build/bin/main, 5 runs)
set -euo pipefail
cd "$(dirname "$0")/.."
main=$(realpath "${1:-build/bin/main}")
runs=${2:-5}
command -v mawk >/dev/null || { echo "mawk is needed (Debian package mawk)"; exit 1; }
[ -x "$main" ] || { echo "no program at $main: build it first (cmake --build build --target main)"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The reference: the same salary rule, one line per employee, header and blank lines skipped.
reference='NR > 1 && $0 != "" {
    h = $3; r = h <= 120 ? 180 : (h <= 160 ? 240 : 350)
    printf "%d,%s,%d,%d\n", $1, $2, h, h * r
}'

# A payroll of $1 employees from seed $2: names from a small pool, hours from 0 to 250.
generate() {
    mawk -v rows="$1" -v seed="$2" 'BEGIN {
        srand(seed)
        n = split("Ana Bruno Carla Daniel Elena Facundo Gabriela Hernán Inés Julián Karina Lucas", first, " ")
        m = split("Paz Díaz Gómez Ruiz Sosa Ríos Luna Vidal Molina Castro Benítez Herrera Acosta", last, " ")
        print "id,nombre,horasTrabajadas"
        for (i = 1; i <= rows; i++)
            printf "%d,%s %s,%d\n", i, first[int(rand() * n) + 1], last[int(rand() * m) + 1], int(rand() * 251)
    }'
}

# Prints the best user + system CPU seconds over $runs runs of the command, run in folder $1 with
# its standard output sent to file $2.
cpu_seconds() {
    local dir=$1 out=$2 best="" t
    shift 2
    for ((i = 0; i < runs; i++)); do
        t=$( { TIMEFORMAT='%3U %3S'; time (cd "$dir" && "$@" >"$out"); } 2>&1 | awk '{ printf "%.3f", $1 + $2 }')
        if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then
            best=$t
        fi
    done
    echo "$best"
}

# Prints the peak resident memory in MB of one run of the command in folder $1.
peak_mb() {
    local dir=$1
    shift
    if [ -x /usr/bin/time ]; then
        (cd "$dir" && /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -n 1) | awk '{ printf "%.1f", $1 / 1024 }'
    elif command -v python3 >/dev/null; then
        (cd "$dir" && python3 -c 'import resource, subprocess, sys
subprocess.run(sys.argv[1:], stdout=subprocess.DEVNULL, check=True)
print("%.1f" % (resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024))' "$@")
    else
        echo "n/a"
    fi
}

declare -A seconds
for rows in 100000 1000000; do
    dir="$work/$rows"
    mkdir "$dir"
    generate "$rows" 7 >"$dir/archivo.csv"
    (cd "$dir" && "$main" >/dev/null && mawk -F, "$reference" archivo.csv >reference.csv)
    if ! cmp -s "$dir/sueldos.csv" "$dir/reference.csv"; then
        echo "rows $rows: sueldos.csv differs from the mawk output"
        exit 1
    fi
    ours=$(cpu_seconds "$dir" /dev/null "$main")
    theirs=$(cpu_seconds "$dir" reference.csv mawk -F, "$reference" archivo.csv)
    seconds[$rows]=$ours
    printf 'rows %7d: main %6.3f s  mawk %6.3f s  ratio %.2f  peak %s MB  (%s bytes, identical)\n' \
        "$rows" "$ours" "$theirs" "$(awk -v a="$ours" -v b="$theirs" 'BEGIN { print a / b }')" \
        "$(peak_mb "$dir" "$main")" "$(stat -c %s "$dir/sueldos.csv")"
done
printf 'scaling: 1,000,000 rows take %.1f times as long as 100,000\n' \
    "$(awk -v a="${seconds[1000000]}" -v b="${seconds[100000]}" 'BEGIN { print a / b }')"
