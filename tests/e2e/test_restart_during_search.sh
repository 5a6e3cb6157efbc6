#!/usr/bin/env bash
# Ctrl + "Find And Configure QEL Devices" during a search closes every backend and searches
# again at once, several times in a row: each new backend gets a log of its own, freshly
# made, never one still held by the backend just closed.
source "$(dirname "$0")/lib.sh"

instances_on_adapter lab0=02:00:00:00:01:01 3
dravik_behaviour 0 delay_ms=50 http=off
dravik_behaviour 1 delay_ms=50 http=off
dravik_behaviour 2 mode=silent http=off   # keeps the search in flight on the third instance
start_brisvale --wait

pids() { for k in 0 1 2; do backend_pid "$k"; done | xargs; }
# All three started anew: every pid differs from the ones given.
all_new() {
    local before=($1) now k
    [ "$(probe count-processes dravik.exe)" = 3 ] || return 1
    now=($(pids))
    ((${#now[@]} == 3)) || return 1
    for k in 0 1 2; do [ "${now[$k]}" != "${before[$k]}" ] || return 1; done
}

step "the search brings two instances up and watches the third"
click_control 1003
wait_for -t 30 all_new "x x x" || fail "the search did not start three backends"

for round in 1 2 3 4; do
    step "round $round: Ctrl-click during the search closes all and starts again"
    before=$(pids)
    expect_eq 0 "$(probe control 1016 enabled)" "a search is running"
    close_all_with_ctrl
    wait_for -t 30 all_new "$before" || fail "round $round: the backends were not started anew ($before -> $(pids))"
    for k in 0 1 2; do
        log=$(tr -d '\r' <"$(instance_log "$k")")
        expect_match "^Start process with  /macOWN 02:00:00:00:01:01 /port 5000$k " "$log" "round $round, log $k header"
        expect_eq 1 "$(grep -c 'dravik stand-in backend, process' <<<"$log")" "round $round, log $k written by one backend"
        expect_match "process $(backend_pid "$k"), QEL $((k + 1))" "$log" "round $round, log $k of the new backend"
    done
    probe no-box || fail "round $round: a box is open"
done
finish
