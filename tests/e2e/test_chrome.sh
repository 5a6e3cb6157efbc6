#!/usr/bin/env bash
# The window chrome on a real run: panel colours and the see-through gaps between the
# panels, hover colours, scale mode while Ctrl is held, the flip by double-click, Ctrl+wheel
# scaling, dragging the window by its title bar, and the own close button.
source "$(dirname "$0")/lib.sh"

write_config
start_brisvale --wait

PANEL=153,176,208 DRAGBAR=255,170,85
rect() { IFS=, read -r WL WT WR WB < <(probe window-rect); }
at() { echo $((WL + $1)) $((WT + $2)); }  # screen point of a client point (no frame)
size() { rect; echo "$((WR - WL))x$((WB - WT))"; }   # for wait_for_eq: run in a subshell, it moves no WL
cpixel() { pixel shot.png $((WL + $1)) $((WT + $2)); }
area_sum() { convert "$E2E_WS/shot.png" -crop "$3x$4+$((WL + $1))+$((WT + $2))" +repage rgb:- | md5sum | cut -d' ' -f1; }
# What a screenshot must show before it is judged (wait_for_screen takes them).
shows() { [ "$(cpixel "$1" "$2")" == "$3" ]; }   # X Y R,G,B
hint_is() { [ "$(area_sum 40 520 560 25)" == "$1" ]; }
hint_is_not() { ! hint_is "$1"; }
both() {  # CHECK ARGS... -- CHECK ARGS...
    local i; for ((i = 1; i <= $#; i++)); do [ "${!i}" == -- ] && break; done
    "${@:1:i-1}" && "${@:i+1}"
}
notches() { for ((i = 0; i < $2; i++)); do wheel "$1"; done; }  # up|down COUNT

step "850 x 550 at scale 1.0, 10 px from the top-right corner"
rect
expect_eq "$((E2E_SCREEN_W - 860)),10,$((E2E_SCREEN_W - 10)),560" "$WL,$WT,$WR,$WB" "window rectangle"

step "panel colours, and the gaps between the panels show what lies beneath"
move $(at 400 480)
wait_for_screen shows 400 500 $PANEL
expect_eq $PANEL "$(cpixel 400 12)" "title bar"
expect_eq $PANEL "$(cpixel 400 500)" "body"
expect_eq $DRAGBAR "$(cpixel 15 300)" "drag bar"
for p in "32 300" "32 10" "400 27" "840 27"; do
    got=$(cpixel $p)
    expect_ne $PANEL "$got" "gap pixel ($p)"
    expect_ne $DRAGBAR "$got" "gap pixel ($p)"
done
hint_before=$(area_sum 40 520 560 25)

step "hovering the close button and the drag bar"
move $(at 840 12)
wait_for_screen shows 827 2 232,17,35
expect_eq 232,17,35 "$(cpixel 827 2)" "close button under the mouse"
move $(at 15 300)
wait_for_screen both shows 2 12 255,138,21 -- shows 827 2 $PANEL
expect_eq $PANEL "$(cpixel 827 2)" "close button after the mouse left"
expect_eq 255,138,21 "$(cpixel 2 12)" "drag bar under the mouse"

step "holding Ctrl: auto-scale button, relabelled button 1003, scaling hint"
click $(at 400 480)  # keys reach the program only after a click into it
key_down ctrl
wait_for_eq "Close All Running Processes" probe control 1003 text || _e2e_report "button 1003 not relabelled"
wait_for_screen shows 800 2 255,255,0
expect_eq 255,255,0 "$(cpixel 800 2)" "minimize button in scale mode"
expect_ne "$hint_before" "$(area_sum 40 520 560 25)" "hint line while Ctrl is held"
key_up ctrl
wait_for_eq "Find And Configure QEL Devices" probe control 1003 text || _e2e_report "button 1003 label not restored"
wait_for_screen both hint_is "$hint_before" -- shows 800 2 $PANEL
expect_eq $PANEL "$(cpixel 800 2)" "minimize button after Ctrl went up"
expect_eq "$hint_before" "$(area_sum 40 520 560 25)" "hint line after Ctrl went up"

step "a double-click on the drag bar flips the layout, keeping the top-right corner"
corner="$WR,$WT"
double_click $(at 15 300)
wait_for_screen shows 835 300 $DRAGBAR
rect
expect_eq "$corner" "$WR,$WT" "top-right corner after the flip"
expect_eq $DRAGBAR "$(cpixel 835 300)" "drag bar on the right"
expect_eq $PANEL "$(cpixel 2 300)" "body on the left"
double_click $(at 835 300)
wait_for_screen shows 15 300 $DRAGBAR
rect
expect_eq "$corner" "$WR,$WT" "top-right corner after the second flip"
expect_eq $DRAGBAR "$(cpixel 15 300)" "drag bar back on the left"

step "Ctrl and the wheel scale the window in steps of 0.025, from 1.0 up"
move $(at 400 480)
key_down ctrl
wait_for_eq "Close All Running Processes" probe control 1003 text || _e2e_report "button 1003 not relabelled"
notches up 4
# Waited for with Ctrl held; Ctrl's messages then show every notch handled: it stays.
wait_for_eq "935x605" size
wait_for_input
rect
expect_eq "935x605" "$((WR - WL))x$((WB - WT))" "size after four notches up (s = 1.1)"
expect_eq "$corner" "$WR,$WT" "top-right corner after scaling"
key_down ctrl
wait_for_eq "Close All Running Processes" probe control 1003 text || _e2e_report "button 1003 not relabelled"
notches down 6
wait_for_eq "850x550" size
key_up ctrl
wait_for_input
rect
expect_eq "850x550" "$((WR - WL))x$((WB - WT))" "size after six notches down (clamped at 1.0)"
notches up 2
wait_for_input   # the notches without Ctrl have been handled
rect
expect_eq "850x550" "$((WR - WL))x$((WB - WT))" "size after notches without Ctrl"

step "dragging the title bar moves the window"
x0=$WL y0=$WT
move $(at 400 12)
xdotool mousedown 1
wait_for_eq 1 probe in-move-size || _e2e_report "the press on the title bar began no move"
xdotool mousemove --sync $((WL + 350)) $((WT + 80))
xdotool mousemove --sync $((WL + 300)) $((WT + 150))
xdotool mouseup 1
wait_for_eq 0 probe in-move-size || _e2e_report "the move did not end with the button"
rect
expect_eq "-100,138" "$((WL - x0)),$((WT - y0))" "window moved with the mouse"

step "the own close button ends the program"
click $(at 840 12)
wait_exit "$E2E_PID" 20
expect_eq 0 $? "exit status of brisvale.exe"

finish
