#!/usr/bin/env bash
# A backend that ends after its start-up was judged good, from outside or by itself: within
# about a second its LED turns red, its row reads No and one box says so with the end of
# its own log; the others stay up. Ctrl + "Find And Configure QEL Devices", then the
# button, brings every instance back. Several ending together give one box after another.
# The program's own close-all and its close button give no such box.
source "$(dirname "$0")/lib.sh"

instances_on_adapter lab0=02:00:00:00:01:01 3
for k in 0 1 2; do dravik_behaviour "$k" delay_ms=100 http=off; done
start_brisvale --wait

open_boxes() { probe windows | tr -d '\r' | awk -F'\t' '$3 == "box"' | wc -l; }
search_done() { wait_for_eq -t 30 1 probe control 1016 enabled || fail "the search did not end"; }
bring_up() {
    click_control 1003
    wait_for_eq -t 60 "green green green" leds || fail "the search did not bring the three instances up"
    search_done
}

step "three instances up"
bring_up
expect_eq "Yes Yes Yes" "$(rows)" "Active column"
first=$(backend_pid 0) second=$(backend_pid 1) third=$(backend_pid 2)

step "instance 2's backend ended from outside: red LED, row No, one box with its own log"
elapsed=$(probe kill-pid "$second" 7 "Unexpected process exit" 10000 | tr -d '\r') || fail "no box for the ended backend"
echo "   box shown ${elapsed} ms after the backend ended"
((elapsed < 2500)) || _e2e_report "the box took ${elapsed} ms"
expect_eq "No" "$(probe list-cells 1001 1 1 | tr -d '\r')" "row 2 Active"
box=$(probe message-box)
expect_match "caption=Unexpected process exit" "$box" "caption"
expect_match 'text=Process dravik\.exe for QEL 2 has exited \(exit code 7\)\.\\n\\n===========LOG===========\\n' "$box" "text"
expect_match 'FS_QEL_Instance1.*start-up finished; reporting status 0' "$box" "log tail of instance 2"
[[ "$box" == *FS_QEL_Instance2* ]] && _e2e_report "the box shows instance 3's log"
expect_match "icon=error" "$box" "icon"
expect_eq 1 "$(open_boxes)" "open boxes"
screenshot red-led-with-box.png
probe close-box
expect_eq "green red green" "$(leds)" "LEDs"
expect_eq "Yes No Yes" "$(rows)" "Active column"
screenshot red-led.png
expect_eq 2 "$(probe count-processes dravik.exe | tr -d '\r')" "backends running"
pids=$(probe pids dravik.exe | tr -d '\r' | sort | xargs)
expect_eq "$(printf '%s\n' "$first" "$third" | sort | xargs)" "$pids" "the backends of instances 1 and 3"

step "a plain search does not restart the dead instance"
click_control 1003
search_done
expect_eq 2 "$(probe count-processes dravik.exe | tr -d '\r')" "backends running"
expect_eq "green red green" "$(leds)" "LEDs"

step "Ctrl + the button closes all without a box, then the button brings all three up"
close_all_with_ctrl
wait_for_eq -t 10 0 probe count-processes dravik.exe || fail "backends still run after the close-all"
expect_no_box_within 1
expect_eq "off off off" "$(leds)" "LEDs after the close-all"
bring_up
expect_eq "Yes Yes Yes" "$(rows)" "Active column"
expect_eq 3 "$(probe count-processes dravik.exe | tr -d '\r')" "backends running"

step "a close-all of three live backends gives no box"
close_all_with_ctrl
wait_for_eq -t 10 0 probe count-processes dravik.exe || fail "backends still run after the close-all"
expect_no_box_within 1

step "three backends ending by themselves together: one box after another"
for k in 0 1 2; do dravik_behaviour "$k" delay_ms=100 http=off exit_after_ms=4000 exit_code=$((k + 1)); done
bring_up
wait_for_eq -t 15 "red red red" leds || fail "the LEDs did not all turn red"
expect_eq "No No No" "$(rows)" "Active column"
# They end half a second apart, which a loaded machine may reorder: each instance's box
# comes once, in the order of the ends.
reported=()
for n in 1 2 3; do
    probe wait-box "Unexpected process exit" 5000 >/dev/null || fail "box $n did not show"
    expect_eq 1 "$(open_boxes)" "open boxes at box $n"
    box=$(probe message-box)
    expect_match "QEL ([123]) has exited \\(exit code \\1\\)" "$box" "box $n"
    [[ "$box" =~ QEL\ ([123])\ has\ exited ]] && reported+=("${BASH_REMATCH[1]}")
    probe close-box
done
expect_eq "1 2 3" "$(printf '%s\n' "${reported[@]}" | sort | xargs)" "instances with a box"
expect_no_box_within 1

step "the close button with three backends up ends them all without a box"
for k in 0 1 2; do dravik_behaviour "$k" delay_ms=100 http=off; done
close_all_with_ctrl
bring_up
IFS=, read -r WL WT WR WB < <(probe window-rect | tr -d '\r')
click $((WL + 840)) $((WT + 12))
wait_exit "$E2E_PID" 20
expect_eq 0 $? "exit status of brisvale.exe"
expect_eq 0 "$(probe count-processes dravik.exe | tr -d '\r')" "backends after the close"
finish
