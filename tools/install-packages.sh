#!/usr/bin/env bash
# Installs the Debian packages of tools/packages.txt that are missing, up to LAYER (build, test or
# ci: each takes the layers above it too), with apt-get as root or through sudo. Prints nothing and
# asks for nothing when every package is there.
# Usage: tools/install-packages.sh LAYER
# Exit status: 0 when every package is installed, 2 when it cannot be.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
name=install-packages.sh

fail() {
    echo "$name: $1" >&2
    exit 2
}

case "${1:-}" in
build | test | ci) layer=$1 ;;
-h | --help) echo "Usage: tools/$name build|test|ci" && exit 0 ;;
*) echo "$name: the layer is build, test or ci" >&2 && echo "Usage: tools/$name build|test|ci" >&2 && exit 2 ;;
esac

# The packages of every section up to and including the layer's own.
packages=()
section=
while IFS= read -r line; do
    line=${line%%#*}
    line=${line//[[:space:]]/}
    case "$line" in
    "") continue ;;
    "["*"]") [ "$section" = "$layer" ] && break
             section=${line:1:-1}
             continue ;;
    esac
    packages+=("$line")
done <"$here/packages.txt"

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null ||
        fail "missing Debian packages (${missing[*]}): run this as root, or install sudo"
    sudo=(sudo)
fi
echo "$name: installing ${missing[*]}" >&2
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q ||
    fail "apt-get update failed"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=600 "${missing[@]}" ||
    fail "apt-get could not install ${missing[*]}"
