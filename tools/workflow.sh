#!/usr/bin/env bash
# From a bare Debian 12 to a workflow's result: installs the Debian packages the workflow needs
# that are missing (tools/install-packages.sh), then runs cmake --workflow --preset PRESET from the
# source tree.
# Usage: tools/workflow.sh PRESET   (demo, test, asan, package, fuzz, coverage)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
usage() { echo "Usage: tools/workflow.sh demo|test|asan|package|fuzz|coverage"; }

case "${1:-}" in
demo) layer=build ;;
test | asan | package) layer=test ;;
fuzz | coverage) layer=ci ;;
-h | --help) usage && exit 0 ;;
*) echo "workflow.sh: no workflow '${1:-}'" >&2 && usage >&2 && exit 2 ;;
esac
tools/install-packages.sh "$layer"
exec cmake --workflow --preset "$1"
