#!/usr/bin/env bash
# Static analysis of the system's sources (src/, lib/, testing/, apps/, common/): clang-tidy with the checks
# in .clang-tidy, then cppcheck. Any finding fails the run.
# Usage: tools/static-analysis.sh [BUILD_DIR]
#   BUILD_DIR holds compile_commands.json (default: build, configured with the default preset).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [ ! -f "$build/compile_commands.json" ]; then
    cmake --preset default >/dev/null
fi

echo "clang-tidy over src/ lib/ testing/ apps/ common/"
run-clang-tidy -p "$build" -quiet -j "$(nproc)" "$PWD/(src|lib|testing|apps|common)/" >"$build/clang-tidy.log" 2>&1 ||
    { cat "$build/clang-tidy.log"; echo "clang-tidy found faults"; exit 1; }

echo "cppcheck over src/ lib/ testing/ apps/ common/"
cppcheck --enable=warning,performance,portability --std=c++20 --language=c++ --library=posix \
    --error-exitcode=1 --inline-suppr --quiet -j "$(nproc)" \
    --suppressions-list=tools/cppcheck.suppress \
    -I src -I inc -I common -I testing -I testing/inc src lib testing apps common
echo "static analysis: clean"
