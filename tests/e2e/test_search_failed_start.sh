#!/usr/bin/env bash
# A search in the real program whose first start cannot happen (no adapter assigned to the
# row): the launch explains why, the search reports the failed start, LED 1 turns red and
# the search is over, with nothing left running.
source "$(dirname "$0")/lib.sh"

write_config 2
start_brisvale --wait

step "the button starts a search whose first start fails"
click_control 1003
probe wait-box "Process creation" 20000 >/dev/null || fail "no box after the click on 1003"
box=$(probe message-box)
expect_match "text=No Ethernet adapter selected for QEL 1" "$box" "the launch's box"
probe close-box
probe wait-box "Process creation" 10000 >/dev/null || fail "no report of the failed start"
box=$(probe message-box)
expect_match "text=Failed to create process for dravik.exe" "$box" "the search's report"
expect_match "icon=error" "$box" "its icon"
probe close-box

step "the search is over"
probe no-box || fail "a box is still open"
expect_eq red "$(probe led 1004 | cut -f1)" "LED 1"
expect_eq off "$(probe led 1014 | cut -f1)" "search LED"
expect_eq 0 "$(probe count-processes dravik.exe)" "backends running"
expect_eq 1 "$(probe control 1003 enabled)" "search button enabled"

step "a second click searches again and fails the same way"
click_control 1003
probe wait-box "Process creation" 20000 >/dev/null || fail "no box after the second click"
expect_match "text=No Ethernet adapter selected for QEL 1" "$(probe message-box)" "the launch's box again"
probe close-box
probe wait-box "Process creation" 10000 >/dev/null || fail "no second report"
probe close-box
probe no-box || fail "a box is still open"
finish
