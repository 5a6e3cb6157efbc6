#!/usr/bin/env bash
# Every command that the run, test, bench, soak and package scripts call (and that CMake
# calls for them) is listed in scripts/requirements.sh, unless it comes with every Debian
# system (an essential or required package): otherwise setup's check would not look
# for it and a fresh machine would miss it.
# The scripts are read as bash reads them (comments dropped); every word that names a
# program on this machine counts as a call. Words of the scripts' texts that happen to
# name some program are listed below as not being calls.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "${BRISVALE_REQUIREMENTS:-$root/scripts/requirements.sh}"
source "$root/scripts/command-provider.sh"

# (variables, LED colours, words of messages)
# Words that name a program on some machines but are no call here: variables, words of
# messages, file extensions, a Windows program run by wine (regedit), the compilers CMake
# falls back to when g++ is missing (c++), an awk variable (w).
not_calls=(as c++ column cpp display file idle red regedit size ssh tc top w)

cd "$root"
shell_files=(scripts/*.sh tests/soak/*.sh tests/e2e/*.sh tests/setup/*.sh cmake/wine-run.sh)
cmake_files=(cmake/*.cmake CMakeLists.txt)

# Bash prints a function without its comments: wrap each script into one and print it.
script_words() {
    local f body
    for f in "${shell_files[@]}"; do
        body=$(<"$f")
        eval "_script_body() {
$body
}" || { echo "cannot read $f as bash" >&2; return 1; }
        declare -f _script_body
    done
    for f in "${cmake_files[@]}"; do grep -v '^[[:space:]]*#' "$f"; done
}

words=$(script_words | grep -oE '(^|[^-A-Za-z0-9_.+/${])[A-Za-z_][A-Za-z0-9_.+-]*=?' |
    sed -E 's/^[^A-Za-z_]//' | grep -v '=$' | sort -u) || exit 1
unlisted=()
for word in $words; do
    [ "$(type -t "$word")" = file ] || continue
    [[ " ${setup_commands[*]} ${not_calls[*]} " == *" $word "* ]] && continue
    accounted=""
    while read -r path package; do
        [ "$package" != - ] || continue
        if base_system_package "$package"; then accounted=1; break; fi
    done < <(command_providers "$word")
    [ -n "$accounted" ] || unlisted+=("$word ($(command_providers "$word" | tr '\n' ' ' | sed 's/ $//'))")
done
if ((${#unlisted[@]})); then
    echo "test_command_list: the scripts use commands that scripts/requirements.sh does not list:" >&2
    printf '  %s\n' "${unlisted[@]}" >&2
    echo "  (add each to setup_commands with its package; a word that is no call goes to not_calls here)" >&2
    exit 1
fi
echo "test_command_list: every command the scripts call is accounted for ($(wc -w <<<"$words") words read)"
