#!/usr/bin/env bash
# One device brought back, or stopped, from its LED's menu while the others stay up: a
# right-click on instance LED n opens "Restart QEL n", "Stop QEL n", "Open web page" and
# "Open log file". A restart starts that instance alone, as a search starts it; a stop ends
# its backend without a box; a restart refused by a box touches nothing else.
source "$(dirname "$0")/lib.sh"

instances_on_adapter lab0=02:00:00:00:01:01 3
for k in 0 1 2; do dravik_behaviour "$k" delay_ms=300 http=off; done
start_brisvale --wait

running() { probe pids dravik.exe | tr -d '\r' | sort -n | xargs; }
search_done() { wait_for_eq -t 30 1 probe control 1016 enabled; }
# led_menu ID KEY: a real right-click on the LED, then the key of a menu item's mnemonic.
led_menu() {
    local l t r b
    IFS=, read -r l t r b < <(probe control "$1" screen | tr -d '\r')
    _e2e_pointer_to $(((l + r) / 2)) $(((t + b) / 2)) && xdotool click 3
    wait_for_eq -t 10 1 menu_open || { _e2e_report "no menu opened on LED $1"; return 1; }
    key "$2"
}
menu_open() { probe windows | tr -d '\r' | awk -F'\t' '$4 == "#32768"' | wc -l; }

step "three instances up"
click_control 1003
wait_for_eq -t 60 "green green green" leds || fail "the search did not bring three instances up"
search_done || fail "the search did not end"
first=$(backend_pid 0) second=$(backend_pid 1) third=$(backend_pid 2)

step "instance 2's backend ended from outside; its box is confirmed"
probe kill-pid "$second" 7 || fail "could not end the backend of instance 2"
probe wait-box "Unexpected process exit" 10000 >/dev/null || fail "no box for the ended backend"
probe close-box
expect_eq "green red green" "$(leds)" "LEDs"

step "Restart QEL 2 from its LED's menu"
led_menu 1005 r
# The other two stay green, with the same backends, the whole time.
until [ "$(led_colour 1005 | tr -d '\r')" = green ]; do
    ((SECONDS > 600)) && break
    expect_eq "green green" "$(led_colour 1004 | tr -d '\r') $(led_colour 1006 | tr -d '\r')" "LEDs 1 and 3 during the restart" || break
done
wait_for_eq -t 30 "green green green" leds || fail "instance 2 did not come back: $(leds)"
search_done || fail "the restart did not end"
expect_eq "Yes Yes Yes" "$(rows)" "Active column"
renewed=$(backend_pid 1)
expect_ne "$second" "$renewed" "instance 2 has a new backend"
expect_eq "$(printf '%s\n' "$first" "$renewed" "$third" | sort -n | xargs)" "$(running)" "the backends running"
log=$(tr -d '\r' <"$(instance_log 1)")
expect_eq 1 "$(grep -c 'dravik stand-in backend, process' <<<"$log")" "one run in instance 2's fresh log"
expect_match "process $renewed, QEL 2" "$log" "instance 2's log is the new backend's"
expect_ok probe no-box 0

step "Stop QEL 3 from its LED's menu"
led_menu 1006 s
wait_for_eq -t 15 "green green off" leds || fail "LED 3 did not go off: $(leds)"
expect_eq "Yes Yes No" "$(rows)" "Active column"
wait_for_eq -t 10 "$(printf '%s\n' "$first" "$renewed" | sort -n | xargs)" running || _e2e_report "backends: $(running)"
expect_ok probe no-box 0

step "a restart refused by a box (its startup file gone) touches nothing else"
# (Wine keeps the adapters it listed for the whole session: a removed adapter would stay.)
mv "$(instance_folder 2)/eval-trx9420.xml" "$(instance_folder 2)/eval-trx9420.xml.away" || fail "cannot move the startup file"
led_menu 1006 r
expect_refused_start 'File "eval-trx9420\.xml" does not exist'
expect_eq "green green red" "$(leds)" "LEDs"
expect_eq "Yes Yes No" "$(rows)" "Active column"
expect_eq "$(printf '%s\n' "$first" "$renewed" | sort -n | xargs)" "$(running)" "the backends of instances 1 and 2"

step "Open log file opens instance 1's log in the viewer for text files"
led_menu 1004 l
wait_for -t 30 test "$(probe count-processes notepad.exe | tr -d '\r')" -ge 1 || _e2e_report "no viewer opened the log"
probe kill notepad.exe >/dev/null
finish
