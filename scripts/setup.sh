#!/usr/bin/env bash
# Installs what building, running and testing need on a fresh Debian machine; skips what
# is already there.
set -euo pipefail
packages=(cmake ninja-build g++ clang libclang-rt-14-dev googletest
          g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 xvfb xdotool imagemagick x11-utils
          fonts-crosextra-carlito fonts-liberation fonts-dejavu-core iproute2 zip nsis)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
