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
shot() { sleep 0.4; screenshot shot.png; }
cpixel() { pixel shot.png $((WL + $1)) $((WT + $2)); }
area_sum() { convert "$E2E_WS/shot.png" -crop "$3x$4+$((WL + $1))+$((WT + $2))" +repage rgb:- | md5sum | cut -d' ' -f1; }
notches() {  # up|down COUNT
    for ((i = 0; i < $2; i++)); do wheel "$1"; sleep 0.2; done
    sleep 0.5
}

step "850 x 550 at scale 1.0, 10 px from the top-right corner"
rect
expect_eq "$((E2E_SCREEN_W - 860)),10,$((E2E_SCREEN_W - 10)),560" "$WL,$WT,$WR,$WB" "window rectangle"

step "panel colours, and the gaps between the panels show what lies beneath"
move $(at 400 480)
shot
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
shot
expect_eq 232,17,35 "$(cpixel 827 2)" "close button under the mouse"
move $(at 15 300)
shot
expect_eq $PANEL "$(cpixel 827 2)" "close button after the mouse left"
expect_eq 255,138,21 "$(cpixel 2 12)" "drag bar under the mouse"

step "holding Ctrl: auto-scale button, relabelled button 1003, scaling hint"
click $(at 400 480)  # keys reach the program only after a click into it
key_down ctrl
wait_for_eq "Close All Running Processes" probe control 1003 text || _e2e_report "button 1003 not relabelled"
shot
expect_eq 255,255,0 "$(cpixel 800 2)" "minimize button in scale mode"
expect_ne "$hint_before" "$(area_sum 40 520 560 25)" "hint line while Ctrl is held"
key_up ctrl
wait_for_eq "Find And Configure QEL Devices" probe control 1003 text || _e2e_report "button 1003 label not restored"
shot
expect_eq $PANEL "$(cpixel 800 2)" "minimize button after Ctrl went up"
expect_eq "$hint_before" "$(area_sum 40 520 560 25)" "hint line after Ctrl went up"

step "a double-click on the drag bar flips the layout, keeping the top-right corner"
corner="$WR,$WT"
double_click $(at 15 300)
sleep 0.8
rect
expect_eq "$corner" "$WR,$WT" "top-right corner after the flip"
shot
expect_eq $DRAGBAR "$(cpixel 835 300)" "drag bar on the right"
expect_eq $PANEL "$(cpixel 2 300)" "body on the left"
double_click $(at 835 300)
sleep 0.8
rect
expect_eq "$corner" "$WR,$WT" "top-right corner after the second flip"
shot
expect_eq $DRAGBAR "$(cpixel 15 300)" "drag bar back on the left"

step "Ctrl and the wheel scale the window in steps of 0.025, from 1.0 up"
move $(at 400 480)
key_down ctrl
sleep 0.3
notches up 4
rect
expect_eq "935x605" "$((WR - WL))x$((WB - WT))" "size after four notches up (s = 1.1)"
expect_eq "$corner" "$WR,$WT" "top-right corner after scaling"
notches down 6
key_up ctrl
rect
expect_eq "850x550" "$((WR - WL))x$((WB - WT))" "size after six notches down (clamped at 1.0)"
sleep 0.3
notches up 2
rect
expect_eq "850x550" "$((WR - WL))x$((WB - WT))" "size after notches without Ctrl"

step "dragging the title bar moves the window"
x0=$WL y0=$WT
move $(at 400 12)
xdotool mousedown 1
sleep 0.3
xdotool mousemove --sync $((WL + 350)) $((WT + 80))
sleep 0.3
xdotool mousemove --sync $((WL + 300)) $((WT + 150))
sleep 0.3
xdotool mouseup 1
sleep 0.6
rect
expect_eq "-100,138" "$((WL - x0)),$((WT - y0))" "window moved with the mouse"

step "the own close button ends the program"
click $(at 840 12)
wait_exit "$E2E_PID" 20
expect_eq 0 $? "exit status of brisvale.exe"

finish
