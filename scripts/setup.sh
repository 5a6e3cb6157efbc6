#!/usr/bin/env bash
# Installs what building, running and testing need on a fresh Debian machine (the packages
# of scripts/requirements.sh), skipping what is already there, then checks that every
# command the scripts call is on the PATH.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/requirements.sh"
missing=()
for p in "${setup_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null ||
        { echo "setup: apt-get could not install: ${missing[*]}" >&2; exit 1; }
fi
bash "$here/check-commands.sh"
