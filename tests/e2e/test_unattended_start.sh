#!/usr/bin/env bash
# brisvale.exe /search brings the instances up with no click, once start-up is done. A
# second brisvale.exe /search asks the running copy to search, shows no box and ends with 0.
# An unknown argument is named in a box, then the program starts as without arguments.
source "$(dirname "$0")/lib.sh"

instances_on_adapter lab0=02:00:00:00:01:01 3
for k in 0 1 2; do dravik_behaviour "$k" delay_ms=100 http=off; done

copies() { probe count-processes brisvale.exe | tr -d '\r'; }
# start_copy ARGS...: another brisvale.exe in the workspace, in the background; COPY_PID.
start_copy() {
    (cd "$E2E_WS" && exec "${E2E_WINE[@]}" brisvale.exe "$@") >>"$E2E_WS/brisvale.out" 2>&1 &
    COPY_PID=$!
    E2E_PIDS+=("$COPY_PID")
}

step "brisvale.exe /search: three instances up with no click"
start_copy /search
E2E_PID=$COPY_PID
wait_window 60000 >/dev/null || fail "brisvale.exe did not show its main dialog"
wait_for_eq -t 60 "green green green" leds || fail "the search did not bring the three instances up: $(leds)"
wait_for_eq -t 30 1 probe control 1016 enabled || fail "the search did not end"
expect_ok probe no-box 0

step "after close-all, a second brisvale.exe /search makes the running copy search"
close_all_with_ctrl
wait_for_eq -t 10 0 probe count-processes dravik.exe || fail "backends still run after the close-all"
wait_for_eq -t 10 "off off off" leds || fail "LEDs after the close-all: $(leds)"
start_copy /search
wait_exit "$COPY_PID" 60
expect_eq 0 "$?" "exit status of the second copy"
wait_for_eq -t 60 "green green green" leds || fail "the running copy did not search: $(leds)"
expect_eq 1 "$(copies)" "brisvale.exe processes"
expect_ok probe no-box 0

step "an unknown argument is named, then the copy starts as without arguments"
start_copy /fast
probe wait-box brisvale 30000 >/dev/null || fail "no box for the unknown argument"
expect_match 'text=Unknown command-line argument "/fast"\. The only argument is /search\.' "$(probe boxes)" "the box"
probe close-box
probe wait-box "Duplicate Process" 30000 >/dev/null || fail "the copy did not go on to start as without arguments"
probe close-box
wait_exit "$COPY_PID" 60
expect_eq 1 "$(copies)" "brisvale.exe processes"
finish
