#!/usr/bin/env bash
# Installs the Debian packages that building and testing Vantorel need, when
# any is missing. Runs apt-get through sudo when not root.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config ccache
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    clang libclang-rt-14-dev
    libssl-dev openssl strace
)
# Further packages, one per line, from the areas that need them.
for list in "$(dirname "$0")"/packages-*.txt; do
    [ -f "$list" ] || continue
    while read -r pkg; do
        pkg=${pkg%%#*}
        pkg=$(echo "$pkg" | tr -d '[:space:]')
        [ -n "$pkg" ] && packages+=("$pkg")
    done <"$list"
done

missing=()
for pkg in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
