#!/usr/bin/env bash
# The program killed in the middle of a search leaves its backends behind; started again,
# its close-all (Ctrl + "Find And Configure QEL Devices") ends those orphans too.
source "$(dirname "$0")/lib.sh"

instances_on_adapter lab0=02:00:00:00:01:01 3
dravik_behaviour 0 delay_ms=100 http=off
dravik_behaviour 1 delay_ms=100 http=off
dravik_behaviour 2 http=off mode=silent
start_brisvale --wait

step "killed while instance 3 is being watched, the program leaves three backends"
click_control 1003
wait_for_eq -t 30 3 probe count-processes dravik.exe || fail "the search did not start three backends"
first=$E2E_PID
probe kill brisvale.exe >/dev/null
wait_exit "$first" 20 >/dev/null
expect_eq 0 "$(probe count-processes brisvale.exe)" "brisvale.exe after the kill"
expect_eq 3 "$(probe count-processes dravik.exe)" "orphaned backends"

step "started again, the program knows none of them: every row reads No"
start_brisvale --wait
expect_eq "No No No" "$(for r in 0 1 2; do probe list-cells 1001 "$r" 1; done | tr -d '\r' | xargs)" "Active column"

step "its close-all ends the orphans"
close_all_with_ctrl
wait_for_eq -t 10 0 probe count-processes dravik.exe || fail "orphaned backends still run"
finish
