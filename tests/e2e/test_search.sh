#!/usr/bin/env bash
# A search that brings three stand-in instances up in the real program: each row turns
# "Yes" and each LED green; a click on a green LED opens the chosen browser at the
# instance's address and turns the LED amber; Alt+F4 then ends the program without
# leaving a backend behind.
source "$(dirname "$0")/lib.sh"

instances_on_adapter lab0=02:00:00:00:01:01 3
for k in 0 1 2; do dravik_behaviour "$k" delay_ms=100 http=off; done
browser_log=$(fake_browser chrome)
start_brisvale --wait

step "the remembered adapter is given to all three instances"
for r in 0 1 2; do expect_eq lab0 "$(probe list-cells 1001 "$r" 2)" "adapter of row $r"; done
expect_match "Chrome$" "$(probe combo-selection 1015 | tr -d "\r")" "browser chosen"

step "one click brings the three instances up"
click_control 1003
wait_for_eq -t 60 "1" probe control 1016 enabled || fail "the search did not end"
for r in 0 1 2; do
    expect_eq Yes "$(probe list-cells 1001 "$r" 1)" "row $r Active"
    expect_eq green "$(led_colour $((1004 + r)))" "LED $((r + 1))"
done
expect_eq off "$(led_colour 1007)" "LED 4 (no such instance)"
expect_eq off "$(led_colour 1014)" "search LED"
expect_eq 3 "$(probe count-processes dravik.exe)" "backends running"
probe no-box || fail "a box is open after a search that succeeded"
expect_match "/macOWN 02:00:00:00:01:01 /port 50001 " "$(tr -d '\r' <"$(instance_log 1)")" "log header of instance 2"

step "a click on a green LED opens the browser and the LED turns amber"
click_control 1005
wait_for_eq -t 10 amber led_colour 1005 || fail "LED 2 did not turn amber"
expect_match "-url 127.0.0.1:50001" "$(cat "$browser_log" 2>/dev/null)" "the browser's command line"
expect_eq green "$(led_colour 1004)" "LED 1 unchanged"

step "Alt+F4 ends the program and no backend outlives it"
click_control 1014   # a click into the window gives it the keyboard
key alt+F4
wait_exit "$E2E_PID" 30
expect_eq 0 "$?" "exit status"
expect_eq 0 "$(probe count-processes dravik.exe)" "backends after the program ended"
finish
