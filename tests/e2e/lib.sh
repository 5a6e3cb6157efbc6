# End-to-end test rig: brisvale.exe itself under Wine on an X display, driven from outside
# by probe.exe (tests/e2e/probe) and xdotool.
#
# Writing a test: create tests/e2e/test_<what>.sh (CMake turns it into the CTest test
# e2e_test_<what>; re-run cmake after adding one):
#
#     #!/usr/bin/env bash
#     source "$(dirname "$0")/lib.sh"        # fresh workspace, prefix, display, clean-up
#     write_config                           # optional: qel-configuration.txt, 10 instances
#     start_brisvale --wait                  # runs brisvale.exe in the workspace
#     step "the search button is enabled once the configuration was read"
#     expect_eq 1 "$(probe control 1003 enabled)" "button 1003 enabled"
#     finish                                 # last line: reports and sets the exit code
#
# What sourcing this file gives you:
#   E2E_NAME, E2E_WS       the test's name and its workspace (a fresh folder under /tmp laid
#                          out by scripts/make-workspace.sh; kept when the test fails, removed
#                          when it passes unless E2E_KEEP=1). The current directory is E2E_WS.
#   E2E_SCREEN_W/H         size of the X screen
#   WINEPREFIX, DISPLAY    the test's own Wine session: a copy of the prepared prefix
#                          BRISVALE_WINEPREFIX (made when missing) and an Xvfb of its own,
#                          both ended when the test ends; so tests may run at once.
#                          E2E_DISPLAY=:N shows the test on display N instead.
#   The program's settings key (HKCU\Morvane) and the App Paths keys of the three
#   browsers start empty (E2E_KEEP_SETTINGS=1 keeps what the prepared prefix holds).
# Workspace:   write_config [COUNT]          qel-configuration.txt with COUNT default blocks
#              instance_folder K             FileSystemFolders/FS_QEL_InstanceK (K = 0..9)
#              instance_log K                its log\output.log
#              backend_pid K                 process id of its stand-in backend (last start)
#              dravik_behaviour K KEY=VALUE...  how the stand-in backend of row K behaves
#              win_path PATH                 the path as the program sees it (Z:\...)
#              fake_browser chrome|msedge|firefox
#                                            a stand-in browser registered under App Paths
#                                            (gone with the test's prefix); prints the file that
#                                            records its command lines
#
# Program:     start_brisvale [--wait]      start a copy in E2E_WS; E2E_PID is its Unix pid.
#                                            --wait: until the main dialog shows and has
#                                            not changed for 0.5 s (fails at once when a
#                                            start-up box shows instead, e.g. without
#                                            write_config). `probe stable` waits likewise.
#              wait_window [ms]              wait for the main dialog (prints hwnd and pid)
#              wait_exit PID [seconds]       wait for a started copy to end (default 30 s);
#                                            returns its exit status
#              run_wine PROGRAM ARGS...      run any Windows program in the prefix
# Adapters:    use_adapters NAME=MAC...      before start_brisvale: the program then sees
#                                            exactly these Ethernet adapters (network
#                                            namespace; `probe adapters` lists what it sees)
#              instances_on_adapter NAME=MAC COUNT
#                                            one adapter, COUNT instances in the
#                                            configuration, all remembered on that adapter
# Inspection:  probe ARGS...                 probe.exe; `probe` alone lists its commands;
#              `probe --pid PID ...` looks at one copy only (see test_duplicate.sh);
#              E2E_TARGET_PID=PID does that for every probe call, helpers included.
#              Values come one per line; list cells tab-separated; line breaks inside a text
#              are printed as \r and \n. Exit 1 when the thing looked for is missing.
# Waiting:     wait_for [-t seconds] CMD...  repeat CMD until it succeeds (default 15 s,
#                                            times E2E_PATIENCE: see wait_for)
#              wait_for_eq [-t s] WANT CMD... repeat until CMD prints exactly WANT
#              wait_for_screen [-t s] CMD... take screenshots (shot.png) until CMD, which
#                                            reads shot.png, succeeds: what the program
#                                            paints is waited for, never slept for
#              expect_no_box_within SECONDS   no box opens unasked within that time: a bounded
#                                            look, as a box that should never come has no
#                                            event to wait for; wait_for_input then shows
#                                            that what the program had queued was handled
#              wait_for_input                 every key and mouse event sent so far has been
#                                            handled (Ctrl goes down and up; the program
#                                            relabels button 1003 in that order; the
#                                            window must have had a click)
# Screen:      screenshot FILE               whole screen; relative names go to E2E_WS
#              pixel FILE X Y                "R,G,B" of a pixel of a screenshot
# Input:       click X Y | double_click X Y | move X Y | key_down ctrl | key_up ctrl
#              key KEYS (e.g. key alt+space) | wheel up|down [X Y]
#              There is no window manager: keys reach the program only after a click into
#              one of its windows (`probe keystate 0x11` then shows what Wine saw).
#              Screen coordinates: `probe control ID screen`, `probe list-cell-rect ID ROW COL`.
#              click_control ID | double_click_cell LIST_ID ROW [COL]: real mouse on them
# LEDs:        `probe led ID` prints COLOUR, the centre pixel's R,G,B and the bitmap handle;
#              COLOUR (off, green, red, yellow, blue, amber or unknown) is read from the
#              screen, so the dialog must not be covered there. led_colour ID: COLOUR alone.
#              leds / rows: the first three LEDs' colours and "Active" cells ("green red green").
# Close-all:   close_all_with_ctrl            Ctrl held, a real click on button 1003
# Boxes:       `probe message-box` prints caption=, text=, buttons= and icon= (error,
#              exclamation, information or none) of the first open box of the program;
#              `probe boxes` one line per open box (caption and text);
#              `probe close-box [BUTTON]` presses OK (or BUTTON) and waits until it is gone.
#              expect_refused_start REGEX [MS]: a refusal box matching REGEX, then the
#                                            report of the failed start; both closed
# Checks:      expect_eq WANT GOT [what] | expect_ne NOTWANT GOT [what]
#              expect_match REGEX GOT [what] (extended regex, whole text searched)
#              expect_ok CMD... | expect_fails CMD...
#              fail MESSAGE (ends the test now; not inside $(...))  |  step TEXT (names the
#              next checks in failure messages)
#              finish (last line of every test: prints the verdict and exits)
# Clean-up:    on_exit CMD...                 run CMD when the test ends (before the kill;
#                                            not from inside $(...), which is a subshell)
#              At the end every brisvale.exe and dravik.exe in the prefix is ended, held
#              keys are released, and a failed test leaves failure.png in its workspace.
# Wine's faults: a probe Wine did not run is asked again; a test that failed with the
#              program showing Wine's "Internal error" (1359) from CreateProcess runs once
#              more. Each is said and listed in E2E_BIN/wine-faults.log.

set -uo pipefail

E2E_NAME=$(basename "$0" .sh)
E2E_SCRIPT=$(cd "$(dirname "$0")" && pwd)/$(basename "$0")
E2E_ARGS=("$@")
E2E_SRC=${BRISVALE_SRC:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
if [ -z "${BRISVALE_BIN:-}" ]; then
    echo "$E2E_NAME: set BRISVALE_BIN to the Windows build folder" >&2
    exit 1
fi
E2E_BIN=$(cd "$BRISVALE_BIN" && pwd)
E2E_PROBE="$E2E_BIN/probe.exe"
for f in "$E2E_BIN/brisvale.exe" "$E2E_PROBE"; do
    [ -f "$f" ] || { echo "$E2E_NAME: $f is missing: build the brisvale and probe targets" >&2; exit 1; }
done

E2E_FAILURES=0
E2E_CHECKS=0
E2E_STEP=""
E2E_PID=""
E2E_PIDS=()
E2E_EXIT_HOOKS=()
E2E_FINISHED=""

# ---- environment ----------------------------------------------------------------------

source "$E2E_SRC/scripts/wine-env.sh"

# Each test has a Wine session of its own: its own Xvfb (on a display it finds free) and
# its own copy of the prepared prefix, so tests can run at once without sharing a window,
# a wineserver or a registry. E2E_DISPLAY=:N runs the test on that display instead (to
# watch it).
E2E_PREFIX=$(mktemp -d "/tmp/qel-e2e-wine.XXXXXX")
[ -z "${E2E_DISPLAY:-}" ] || export DISPLAY=$E2E_DISPLAY
wine_own_session "${BRISVALE_WINEPREFIX:-$E2E_BIN/wineprefix}" "$E2E_PREFIX" ${E2E_DISPLAY:+--keep-display} ||
    { echo "$E2E_NAME: no Wine session of its own" >&2; wine_end_own_session; rm -rf "$E2E_PREFIX"; exit 1; }
read -r E2E_SCREEN_W E2E_SCREEN_H < <(xdpyinfo | sed -n 's/.*dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p')
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# The program finds FileSystemFolders by cutting its own path at the first "brisvale",
# so the workspace path must not contain that word.
E2E_WS=$(mktemp -d "/tmp/qel-e2e-${E2E_NAME//brisvale/bv}.XXXXXX")
bash "$E2E_SRC/scripts/make-workspace.sh" "$E2E_WS" "$E2E_BIN" ||
    { echo "$E2E_NAME: workspace set-up failed" >&2; wine_end_own_session; exit 1; }
cd "$E2E_WS" || exit 1

# ---- reporting ------------------------------------------------------------------------

step() {
    E2E_STEP="$*"
    echo "-- $*"
}

_e2e_report() {  # a failed check: where, what
    E2E_FAILURES=$((E2E_FAILURES + 1))
    echo "FAIL${E2E_STEP:+ [$E2E_STEP]}: $*" >&2
}

fail() {
    _e2e_report "$*"
    exit 1
}

expect_eq() {
    E2E_CHECKS=$((E2E_CHECKS + 1))
    [ "$2" == "$1" ] && return 0
    _e2e_report "${3:-value}: expected \"$1\", got \"$2\""
    return 1
}

expect_ne() {
    E2E_CHECKS=$((E2E_CHECKS + 1))
    [ "$2" != "$1" ] && return 0
    _e2e_report "${3:-value}: expected anything but \"$1\""
    return 1
}

expect_match() {
    E2E_CHECKS=$((E2E_CHECKS + 1))
    [[ "$2" =~ $1 ]] && return 0
    _e2e_report "${3:-value}: \"$2\" does not match /$1/"
    return 1
}

expect_ok() {
    E2E_CHECKS=$((E2E_CHECKS + 1))
    "$@" && return 0
    _e2e_report "command failed: $*"
    return 1
}

expect_fails() {
    E2E_CHECKS=$((E2E_CHECKS + 1))
    "$@" || return 0
    _e2e_report "command succeeded but should have failed: $*"
    return 1
}

finish() {
    E2E_FINISHED=1
    if ((E2E_FAILURES)); then
        echo "$E2E_NAME: FAILED ($E2E_FAILURES of $E2E_CHECKS checks)"
        exit 1
    fi
    echo "$E2E_NAME: passed ($E2E_CHECKS checks)"
    exit 0
}

# ---- programs -------------------------------------------------------------------------

E2E_WINE=(wine)   # use_adapters runs Wine inside a network namespace instead

run_wine() { "${E2E_WINE[@]}" "$@"; }

# A fault of Wine's own that the rig worked around: said here, and listed in E2E_BIN's
# wine-faults.log for the test command's summary (a test that passes shows no output).
E2E_WINE_FAULTS=$E2E_BIN/wine-faults.log
_e2e_wine_fault() {
    echo "$E2E_NAME: $*" >&2
    echo "$(date +%T) $E2E_NAME: $*" >>"$E2E_WINE_FAULTS"
}

# Wine under load now and then fails to run a program at all: it ends at once, and the
# program said nothing. The probe says why whenever it fails (a line "probe: ..." or its
# usage), so a failure without one is Wine's: asked again, twice at most, and noted.
probe() {
    local errors="$E2E_PREFIX/probe-errors.$BASHPID" try status
    for try in 1 2 3; do
        "${E2E_WINE[@]}" "$E2E_PROBE" ${E2E_TARGET_PID:+--pid "$E2E_TARGET_PID"} "$@" 2>"$errors"
        status=$?
        cat "$errors" >&2
        ((status == 0)) || grep -qE '^(probe: |usage: probe )' "$errors" && break
        ((try < 3)) || break
        _e2e_wine_fault "Wine did not run the probe ($*: status $status, nothing from the probe); asking again"
    done
    rm -f "$errors"
    return "$status"
}

start_brisvale() {
    (cd "$E2E_WS" && exec "${E2E_WINE[@]}" brisvale.exe) >>"$E2E_WS/brisvale.out" 2>&1 &
    E2E_PID=$!
    E2E_PIDS+=("$E2E_PID")
    if [ "${1:-}" == "--wait" ]; then
        wait_window 60000 >/dev/null || fail "brisvale.exe did not show its main dialog"
        probe settle >/dev/null
        probe stable 500 20000 || fail "the main dialog did not come to rest after start-up"
    fi
}

wait_window() { probe wait-window "${1:-20000}"; }

# wait_exit PID [seconds]: waits for a program started here to end; returns its exit status.
wait_exit() {
    local pid=$1 limit=$(( ${2:-30} * 10 ))
    for ((i = 0; i < limit; i++)); do
        kill -0 "$pid" 2>/dev/null || { wait "$pid"; return $?; }
        sleep 0.1
    done
    echo "process $pid still runs after ${2:-30} s" >&2
    return 124
}

# ---- waiting --------------------------------------------------------------------------

# A deadline ends a test that is stuck; it never times the program. E2E_PATIENCE (default
# 3) stretches every deadline, so a loaded machine makes a test slower, not red.
wait_for() {
    local limit=15
    if [ "$1" == "-t" ]; then limit=$2; shift 2; fi
    limit=$((limit * ${E2E_PATIENCE:-3}))
    local end=$((SECONDS + limit))
    while :; do
        "$@" >/dev/null 2>&1 && return 0
        ((SECONDS >= end)) && { echo "timed out after ${limit} s waiting for: $*" >&2; return 1; }
        sleep 0.2
    done
}

wait_for_eq() {
    local limit=15
    if [ "$1" == "-t" ]; then limit=$2; shift 2; fi
    limit=$((limit * ${E2E_PATIENCE:-3}))
    local want=$1; shift
    local end=$((SECONDS + limit)) got
    while :; do
        got=$("$@" 2>/dev/null) && [ "$got" == "$want" ] && return 0
        ((SECONDS >= end)) && { echo "timed out after ${limit} s: \"$*\" printed \"$got\", not \"$want\"" >&2; return 1; }
        sleep 0.2
    done
}

wait_for_screen() {
    local limit=()
    if [ "$1" == "-t" ]; then limit=(-t "$2"); shift 2; fi
    wait_for "${limit[@]}" _e2e_shot_then "$@"
}
_e2e_shot_then() { screenshot shot.png && "$@"; }

# The program relabels button 1003 when it handles Ctrl's key messages, which come in the
# order they were sent: both labels seen means everything sent before has been handled.
wait_for_input() {
    key_down ctrl
    wait_for_eq -t 20 "Close All Running Processes" probe control 1003 text
    local down=$?
    key_up ctrl
    wait_for_eq -t 20 "Find And Configure QEL Devices" probe control 1003 text && ((down == 0)) ||
        _e2e_report "the program did not answer Ctrl: the input sent before may not have been handled"
}

expect_no_box_within() {
    sleep "$1"
    wait_for_input
    expect_ok probe no-box 0
}

# ---- screen and input -----------------------------------------------------------------

_e2e_path() { case "$1" in /*) echo "$1";; *) echo "$E2E_WS/$1";; esac; }

screenshot() { import -window root "$(_e2e_path "$1")"; }

pixel() {
    local f; f=$(_e2e_path "$1")
    convert "$f" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:
}

# xdotool's --sync waits for the pointer's motion event, which never comes when the pointer
# is already there: it then gives up only after about 15 s. Move only when it must.
_e2e_pointer_to() {
    local X Y SCREEN WINDOW
    eval "$(xdotool getmouselocation --shell 2>/dev/null)"
    [ "${X:-}" == "$1" ] && [ "${Y:-}" == "$2" ] || xdotool mousemove --sync "$1" "$2"
}
move() { _e2e_pointer_to "$1" "$2"; }
click() { _e2e_pointer_to "$1" "$2" && xdotool click 1; }
double_click() { _e2e_pointer_to "$1" "$2" && xdotool click --repeat 2 --delay 60 1; }
key_down() { xdotool keydown "$1"; }
key_up() { xdotool keyup "$1"; }
key() { xdotool key "$@"; }
wheel() {
    [ $# -ge 3 ] && _e2e_pointer_to "$2" "$3"
    case "$1" in up) xdotool click 4;; down) xdotool click 5;; *) fail "wheel up|down, not $1";; esac
}

# click_control ID: a real click in the middle of a control of the main dialog.
click_control() {
    local l t r b
    IFS=, read -r l t r b < <(probe control "$1" screen) || { _e2e_report "no control $1 to click"; return 1; }
    click $(((l + r) / 2)) $(((t + b) / 2))
}

# double_click_cell LIST_ID ROW [COLUMN]: a real double-click in the middle of a list cell.
double_click_cell() {
    local rect x y
    read -r rect x y < <(probe list-cell-rect "$1" "$2" "${3:-0}") || { _e2e_report "no cell $2,${3:-0} in list $1"; return 1; }
    double_click "$x" "$y"
}

# ---- configuration ----------------------------------------------------------------------

# write_config [COUNT]: qel-configuration.txt with COUNT (default 10) instance blocks in the
# program's own default layout (CR LF line ends), so no first-start boxes appear.
write_config() {
    local count=${1:-10} k ssh
    : >"$E2E_WS/qel-configuration.txt"
    for ((k = 1; k <= count; k++)); do
        ssh=$((k == 1 ? 830 : 50830 + k - 1))
        printf '%s\r\n' "//Instance name" "Instance $k" "//IP address of the webserver" "IP 127.0.0.1" \
            "//Port on which webserver is listening" "Port $((50000 + k - 1))" \
            "//Port on which NETCONF server is listening (SSH)" "NetconfPortSsh $ssh" \
            "//Instance folder name containing webserver contents" "FsName FS_QEL_Instance$((k - 1))" \
            "//Startup file" "StartupFileName eval-trx9420.xml" \
            "//Image signature type to use with device: development, production" \
            "//Use development for B0" "//Use production for B1" "ImageType development" "" "" \
            >>"$E2E_WS/qel-configuration.txt"
    done
}

# instance_folder K: the file-system folder of instance row K (0 to 9) in the workspace.
instance_folder() { echo "$E2E_WS/FileSystemFolders/FS_QEL_Instance$1"; }

# dravik_behaviour K KEY=VALUE...: how the stand-in backend of instance row K behaves
# (dravik-behaviour.txt in its folder: delay_ms, status, text, mode, exit_code, ...).
dravik_behaviour() {
    local folder; folder=$(instance_folder "$1"); shift
    printf '%s\r\n' "$@" >"$folder/dravik-behaviour.txt"
}

# backend_pid K: the process id of the stand-in backend last started for row K (from the
# dravik-started.txt it writes); `probe kill-pid PID [CODE]` ends it from outside.
backend_pid() { sed -n 's/^pid=\([0-9]*\).*/\1/p' "$(instance_folder "$1")/dravik-started.txt"; }

# instance_log K: the log file the backend of instance row K writes.
instance_log() { echo "$(instance_folder "$1")/log/output.log"; }

# win_path UNIX_PATH: the path as the program sees it (Wine maps / to drive Z:).
win_path() { local p=${1//\//\\}; echo "Z:$p"; }

# fake_browser chrome|msedge|firefox: installs a stand-in browser (a copy of probe.exe that
# records its command line) under the browser's App Paths key; prints the file that
# collects its command lines, one line per start. The key goes with the test's prefix.
E2E_APP_PATHS='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths'
fake_browser() {
    mkdir -p "$E2E_WS/browsers"
    local exe="$E2E_WS/browsers/$1.exe"
    cp "$E2E_PROBE" "$exe"
    # Usually called inside $(...): the key goes with the prefix, so no clean-up hook is needed.
    probe reg-set "$E2E_APP_PATHS\\$1.exe" "" "$(win_path "$exe")" >&2 || echo "cannot register the browser $1" >&2
    echo "$exe.args"
}

# ---- network adapters ---------------------------------------------------------------------

# use_adapters NAME=MAC... : the program sees exactly these Ethernet adapters (plus the
# loopback, which it does not list). Each is one end of a veth pair in a network namespace
# of this test; the other ends sit in a second namespace, out of sight. The prefix's Wine
# session is ended and from here on every Wine program of the test runs inside the
# namespace. Call it before start_brisvale. MACs as aa:bb:cc:dd:ee:ff; names at most 15
# characters.
E2E_NETNS=""
use_adapters() {
    [ -z "$E2E_NETNS" ] || fail "use_adapters may be called once per test"
    E2E_NETNS="qel-e2e-$$"
    ip netns add "$E2E_NETNS" && ip netns add "$E2E_NETNS-peers" || fail "cannot create network namespaces (needs root)"
    ip -n "$E2E_NETNS" link set lo up
    local adapter name mac n=0
    for adapter in "$@"; do
        name=${adapter%%=*}
        mac=${adapter#*=}
        n=$((n + 1))
        ip -n "$E2E_NETNS" link add "$name" type veth peer name "peer$n" netns "$E2E_NETNS-peers" &&
            ip -n "$E2E_NETNS" link set "$name" address "$mac" &&
            ip -n "$E2E_NETNS" link set "$name" up &&
            ip -n "$E2E_NETNS-peers" link set "peer$n" up || fail "cannot create adapter $adapter"
    done
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    E2E_WINE=(ip netns exec "$E2E_NETNS" wine)
}

# ---- clean-up -----------------------------------------------------------------------------

on_exit() { E2E_EXIT_HOOKS+=("$*"); }

# instances_on_adapter NAME=MAC COUNT: the program sees one adapter, and the configuration's
# COUNT instances are all remembered on it (as if a search had saved that choice).
instances_on_adapter() {
    use_adapters "$1"
    local k
    for ((k = 1; k <= $2; k++)); do
        probe reg-set 'HKCU\Morvane\Software\QelTsn\Configuration' "Qel${k}EthernetAdapter" "${1%%=*}" >/dev/null
    done
    write_config "$2"
}

led_colour() { probe led "$1" | cut -f1; }
# The three-instance rig's LEDs (colours) and "Active" cells, space-separated: "green red green".
leds() { for id in 1004 1005 1006; do led_colour "$id"; done | tr -d '\r' | xargs; }
rows() { for r in 0 1 2; do probe list-cells 1001 "$r" 1; done | tr -d '\r' | xargs; }

# expect_refused_start REGEX [MS]: the launch refuses a start with a "Process creation" box
# whose text matches REGEX (waited for MS, default 10000), then the search reports the
# failed start; both boxes are closed.
expect_refused_start() {
    probe wait-box "Process creation" "${2:-10000}" >/dev/null || fail "no box refusing the start"
    expect_match "text=$1" "$(probe message-box)" "the refusal"
    probe close-box
    probe wait-box "Process creation" 10000 >/dev/null || fail "no report of the failed start"
    expect_match "text=Failed to create process for dravik\.exe" "$(probe message-box)" "the failed start's report"
    probe close-box
}

# close_all_with_ctrl: with Ctrl held, button 1003 reads "Close All Running Processes"; click it.
close_all_with_ctrl() {
    click_control 1014   # a click into the window gives it the keyboard
    key_down ctrl
    wait_for_eq -t 5 "Close All Running Processes" probe control 1003 text || _e2e_report "button 1003 not relabelled"
    click_control 1003
    key_up ctrl
}

_e2e_cleanup() {
    local status=$?
    trap - EXIT
    if [ -z "$E2E_FINISHED" ] && ((status == 0)); then
        _e2e_report "the test ended without calling finish"
        status=1
    fi
    ((E2E_FAILURES)) && status=1
    local hook
    for hook in "${E2E_EXIT_HOOKS[@]}"; do eval "$hook" || true; done
    local boxes=""
    if ((status)); then
        import -window root "$E2E_WS/failure.png" 2>/dev/null
        echo "$E2E_NAME: at the failure, the program's windows were:" >&2
        timeout 20 "${E2E_WINE[@]}" "$E2E_PROBE" windows >&2 2>/dev/null
        boxes=$(timeout 20 "${E2E_WINE[@]}" "$E2E_PROBE" boxes 2>/dev/null)
        echo "$E2E_NAME: its boxes: $boxes" >&2
        echo "$E2E_NAME: brisvale.exe processes: $(timeout 20 "${E2E_WINE[@]}" "$E2E_PROBE" count-processes brisvale.exe 2>/dev/null)," \
            "dravik.exe processes: $(timeout 20 "${E2E_WINE[@]}" "$E2E_PROBE" count-processes dravik.exe 2>/dev/null)" >&2
    fi
    xdotool keyup ctrl shift alt 2>/dev/null
    # The test's own Wine session ends with everything in it (in the namespace too).
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    if [ -n "$E2E_NETNS" ]; then
        ip netns del "$E2E_NETNS" 2>/dev/null
        ip netns del "$E2E_NETNS-peers" 2>/dev/null
    fi
    local pid
    for pid in "${E2E_PIDS[@]}"; do
        kill -0 "$pid" 2>/dev/null && kill -9 "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    wine_end_own_session
    cd /
    if ((status)); then
        echo "$E2E_NAME: workspace kept: $E2E_WS" >&2
        # Wine under load now and then fails to create a process: the new process ends before
        # it runs, and CreateProcess answers "Internal error" (1359), which the program shows
        # as it should. That is Wine's fault, not the program's: the test runs once more.
        if [[ $boxes == *"(error 1359)"* ]] && [ -z "${E2E_RERUN:-}" ]; then
            _e2e_wine_fault "Wine failed to create a process (error 1359); running the test once more"
            export E2E_RERUN=1
            exec bash "$E2E_SCRIPT" "${E2E_ARGS[@]}"
        fi
    elif [ "${E2E_KEEP:-}" != 1 ]; then
        rm -rf "$E2E_WS"
    fi
    exit "$status"
}
trap _e2e_cleanup EXIT
trap "exit 143" INT TERM   # an interrupted test cleans up too

# ---- a clean start ------------------------------------------------------------------------

# The program's remembered settings start empty, whatever the prepared prefix holds.
[ "${E2E_KEEP_SETTINGS:-}" == 1 ] || probe reg-delete-keys 'HKCU\Morvane' "$E2E_APP_PATHS\\chrome.exe" \
    "$E2E_APP_PATHS\\msedge.exe" "$E2E_APP_PATHS\\firefox.exe" >/dev/null
xdotool keyup ctrl shift alt 2>/dev/null
xdotool mousemove 0 "$((E2E_SCREEN_H - 1))" 2>/dev/null
true
