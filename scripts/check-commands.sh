#!/usr/bin/env bash
# Checks that every command listed in scripts/requirements.sh is on the PATH, and prints
# one line naming those that are not. With --provided it also checks that each of them
# comes from a package of that list (or a package that one there depends on): a command
# installed by hand, or by a package the list lacks, would hide a missing install step
# that only a fresh machine shows.
#   check-commands.sh [--provided]
#   BRISVALE_REQUIREMENTS=FILE checks against another list (to try the check itself).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "${BRISVALE_REQUIREMENTS:-$here/requirements.sh}"
source "$here/command-provider.sh"

missing=()
for cmd in "${setup_commands[@]}"; do
    command -v "$cmd" >/dev/null || missing+=("$cmd")
done
if ((${#missing[@]})); then
    echo "setup: not on the PATH: ${missing[*]} (a package of scripts/requirements.sh is missing or lacks them)" >&2
    exit 1
fi
[ "${1:-}" = --provided ] || exit 0

unaccounted=()
for cmd in "${setup_commands[@]}"; do
    found=""
    others=()
    while read -r path package; do
        if [ "$package" != - ] && setup_provides "$package"; then found=1; break; fi
        others+=("$path from ${package/#-/no package}")
    done < <(command_providers "$cmd")
    if [ -z "$found" ]; then
        printf -v where "%s; " "${others[@]}"
        unaccounted+=("$cmd (${where%; })")
    fi
done
if ((${#unaccounted[@]})); then
    printf -v list '%s, ' "${unaccounted[@]}"
    echo "setup: not provided by a package of scripts/requirements.sh: ${list%, }" >&2
    exit 1
fi
echo "setup: all ${#setup_commands[@]} commands come from setup's packages"
