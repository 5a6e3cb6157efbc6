#!/usr/bin/env bash
# A search whose second instance fails its start-up with the device discovery text: the
# search stops there, the box names the instance, carries the backend's text as caption and
# the tail of its log after the separator; its backend is ended, the first keeps running.
source "$(dirname "$0")/lib.sh"

instances_on_adapter lab0=02:00:00:00:01:01 3
dravik_behaviour 0 delay_ms=100 http=off
dravik_behaviour 1 delay_ms=300 http=off status=-1 "text=Failed registrar startup"
dravik_behaviour 2 delay_ms=100 http=off
start_brisvale --wait

step "the failure of instance 2 is reported in a box"
click_control 1003
probe wait-box "Failed registrar startup" 60000 >/dev/null || fail "no failure box"
box=$(probe message-box)
expect_match "text=Process dravik.exe for QEL 2 failed to start up correctly and will be closed" "$box" "box text"
expect_match '\\n\\n===========LOG===========\\n' "$box" "separator line"
expect_match "/port 50001 .*reporting status -1" "$box" "log tail"
expect_match "icon=error" "$box" "icon"
probe close-box

step "instance 1 keeps running, instance 2 is closed and instance 3 never started"
wait_for_eq -t 20 "1" probe control 1016 enabled || fail "the search did not end"
expect_eq Yes "$(probe list-cells 1001 0 1)" "row 1 Active"
expect_eq No "$(probe list-cells 1001 1 1)" "row 2 Active"
expect_eq No "$(probe list-cells 1001 2 1)" "row 3 Active"
expect_eq green "$(led_colour 1004)" "LED 1"
expect_eq off "$(led_colour 1005)" "LED 2"
expect_eq off "$(led_colour 1006)" "LED 3"
expect_eq 1 "$(probe count-processes dravik.exe)" "backends running"

step "Ctrl with the button, while no search runs, closes every backend"
close_all_with_ctrl
wait_for_eq -t 10 0 probe count-processes dravik.exe || fail "backends still running after the close-all"
expect_eq No "$(probe list-cells 1001 0 1)" "row 1 Active"
expect_eq off "$(led_colour 1004)" "LED 1"
expect_eq "Find And Configure QEL Devices" "$(probe control 1003 text)" "button 1003 label after Ctrl"

step "a new search starts again from instance 1 and fails at instance 2 again"
click_control 1003
probe wait-box "Failed registrar startup" 60000 >/dev/null || fail "no failure box on the new search"
expect_match "for QEL 2 failed" "$(probe message-box)" "the failing instance"
probe close-box
wait_for_eq -t 20 "1" probe control 1016 enabled || fail "the new search did not end"
expect_eq 1 "$(probe count-processes dravik.exe)" "backends after the new search"
finish
