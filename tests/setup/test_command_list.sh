#!/usr/bin/env bash
# Every command that the run, test, bench, soak and package scripts call (and that CMake
# calls for them) is listed in scripts/requirements.sh, unless it comes with every Debian
# system (an essential or required package): otherwise setup's check would not look
# for it and a fresh machine would miss it.
# A call is a word where bash runs a command (shell-calls.pl reads the scripts as bash
# reprints them, without comments), a COMMAND of CMake, or the program a find_program looks
# for first. What else this machine has installed does not decide what is a call.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "${BRISVALE_REQUIREMENTS:-$root/scripts/requirements.sh}"
source "$root/scripts/command-provider.sh"
here="$root/tests/setup"

cd "$root"
shell_files=(scripts/*.sh tests/soak/*.sh tests/e2e/*.sh tests/setup/*.sh cmake/*.sh)
cmake_files=(cmake/*.cmake CMakeLists.txt)

# Bash prints a function without its comments: wrap each file into one and print it.
shell_text() {
    local f body
    for f in "$@"; do
        body=$(<"$f")
        eval "_script_body() {
$body
}" || { echo "cannot read $f as bash" >&2; return 1; }
        declare -f _script_body
    done
}

# A COMMAND that names a program of the build itself is no call of the machine's.
cmake_calls() {
    local f text targets
    text=$(for f in "${cmake_files[@]}"; do grep -v '^[[:space:]]*#' "$f"; done)
    targets=" $(sed -nE 's/.*add_executable\(([A-Za-z0-9_]+).*/\1/p' <<<"$text" | xargs) "
    sed -nE 's/.*set\(CMAKE_[A-Z]+_COMPILER +([^ )]+).*/\1/p; s/.*find_program\([A-Za-z_]+ +NAMES +([^ )]+).*/\1/p; s/.*COMMAND[[:space:]]+([^[:space:])]+).*/\1/p' <<<"$text" |
        grep -v '^\$' |   # a variable's program is not known here
        while read -r word; do [[ "$targets" == *" $word "* ]] || echo "$word"; done
}

# The reader itself, on a sample that puts words named like programs in every place a word
# can stand.
want="functions: _script_body helper
: basename cat cd convert dirname echo env exec grep helper ip jq md5sum read sort timeout tr wine xdotool Xvfb"
sample_calls=$(shell_text "$here/shell-calls-sample.txt" | perl "$here/shell-calls.pl")
got=$(sed 1q <<<"$sample_calls"; sed 1d <<<"$sample_calls" | LC_ALL=C sort -f | xargs)
if [ "$got" != "$want" ]; then
    echo "test_command_list: the reader of the scripts finds other calls in shell-calls-sample.txt:" >&2
    diff <(echo "$want") <(echo "$got") >&2
    exit 1
fi

read_calls=$(shell_text "${shell_files[@]}" | perl "$here/shell-calls.pl") || exit 1
functions=" $(sed -n 's/^functions: //p' <<<"$read_calls") "
words=$( (sed 1d <<<"$read_calls"; cmake_calls) | sort -u)
unlisted=()
for word in $words; do
    [[ "$functions" == *" $word "* || "$word" == */* ]] && continue   # the scripts' own
    [[ "$(type -t "$word")" == @(builtin|keyword) ]] && continue
    [[ " ${setup_commands[*]} " == *" $word "* ]] && continue
    if ! type -P "$word" >/dev/null; then
        unlisted+=("$word (not installed here)")
        continue
    fi
    accounted=""
    while read -r path package; do
        [ "$package" != - ] || continue
        if base_system_package "$package"; then accounted=1; break; fi
    done < <(command_providers "$word")
    [ -n "$accounted" ] || unlisted+=("$word ($(command_providers "$word" | tr '\n' ' ' | sed 's/ $//'))")
done
if ((${#unlisted[@]})); then
    echo "test_command_list: the scripts call commands that scripts/requirements.sh does not list:" >&2
    printf '  %s\n' "${unlisted[@]}" >&2
    echo "  (add each to setup_commands with its package)" >&2
    exit 1
fi
echo "test_command_list: every command the scripts call is accounted for ($(wc -w <<<"$words") calls read)"
