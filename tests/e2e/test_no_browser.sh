#!/usr/bin/env bash
# No supported browser registered: the browser chooser is empty, and a click on the LED of an
# active instance (or a double-click on its "QEL" cell) says so in a box instead of doing
# nothing; an inactive instance's LED still does nothing.
source "$(dirname "$0")/lib.sh"

instances_on_adapter lab0=02:00:00:00:01:01 1
dravik_behaviour 0 delay_ms=100 http=off
start_brisvale --wait

expect_box() {
    local box; box=$(probe message-box 5000) || { _e2e_report "no box after $1"; return; }
    expect_eq "caption=Open Web Browser" "$(sed -n 1p <<<"$box")" "caption after $1"
    expect_eq "text=No supported web browser (Chrome, Edge or Firefox) was found." "$(sed -n 2p <<<"$box")" "text after $1"
    expect_eq "buttons=OK" "$(sed -n 3p <<<"$box")" "buttons after $1"
    expect_eq "icon=exclamation" "$(sed -n 4p <<<"$box")" "icon after $1"
    probe close-box >/dev/null || _e2e_report "the box did not close"
}

step "no browser to choose; an inactive instance's LED does nothing"
expect_eq "" "$(probe combo-items 1015)" "browsers offered"
click_control 1004
expect_ok probe no-box 1500

step "the instance comes up"
click_control 1003
wait_for_eq -t 60 1 probe control 1016 enabled || fail "the search did not end"
expect_eq green "$(led_colour 1004)" "LED 1"

step "a click on the green LED shows the box"
click_control 1004
expect_box "the LED click"
expect_eq green "$(led_colour 1004)" "LED 1 after the box"

step "so does a double-click on the instance's QEL cell"
double_click_cell 1001 0 0
expect_box "the double-click"
expect_eq 1 "$(probe count-processes dravik.exe)" "the backend still runs"
finish
