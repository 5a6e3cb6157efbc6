#!/usr/bin/env bash
# What the bottom line and button 1003 say, and how far the window grows: hovering an LED
# paints its hint in the hint line and leaving it clears the line; the auto-scale click with
# Ctrl held ends scale mode, so once Ctrl is up button 1003 reads "Find And Configure QEL
# Devices" again and the scaling hint is gone; at the largest scale the whole window lies
# within the monitor's work area.
source "$(dirname "$0")/lib.sh"

write_config
start_brisvale --wait

HINT=15,17,217
rect() { IFS=, read -r WL WT WR WB < <(probe window-rect); }
size() { rect; echo "$((WR - WL))x$((WB - WT))"; }   # for wait_for_eq: run in a subshell, it moves no WL
at() { echo $((WL + $1)) $((WT + $2)); }  # screen point of a client point (no frame)
# The hint line at s = 1.0, left of the banner, with the line above it, where a hint too long
# for one line (an LED's) goes on.
hint_area() { convert "$E2E_WS/shot.png" -crop "570x50+$((WL + 40))+$((WT + 495))" +repage "$1"; }
hint_sum() { hint_area rgb:- | md5sum | cut -d' ' -f1; }
hint_pixels() { hint_area txt:- | grep -c "($HINT)"; }  # pixels of the hint colour
# What the screenshot must show before it is judged (each waits for a new screenshot).
no_hint() { (($(hint_pixels) == 0)); }
a_hint_other_than() { [ "$(hint_sum)" != "$1" ] && (($(hint_pixels) > 30)); }
hint_is() { [ "$(hint_sum)" == "$1" ]; }
hint_is_not() { [ "$(hint_sum)" != "$1" ]; }
pixel_is() { [ "$(pixel shot.png $((WL + $1)) $((WT + $2)))" == "$3" ]; }
pixel_is_not() { ! pixel_is "$@"; }
rect

step "hovering an LED paints its hint in the hint line; leaving clears it"
move $(at 400 480)   # the body, away from every control
wait_for_screen no_hint
empty=$(hint_sum)
expect_eq 0 "$(hint_pixels)" "hint-coloured pixels with nothing under the mouse"
IFS=, read -r l t r b < <(probe control 1006 screen)
move $(((l + r) / 2)) $(((t + b) / 2))
wait_for_screen a_hint_other_than "$empty"
expect_ne "$empty" "$(hint_sum)" "hint line over LED 3"
n=$(hint_pixels); echo "hint-coloured pixels over LED 3: $n"
((n > 30)) || _e2e_report "hardly any hint-coloured pixels over LED 3"
led3=$(hint_sum)
IFS=, read -r l t r b < <(probe control 1004 screen)
move $(((l + r) / 2)) $(((t + b) / 2))
wait_for_screen hint_is_not "$led3"
expect_ne "$led3" "$(hint_sum)" "hint line over LED 1, after LED 3"
move $(at 400 480)
wait_for_screen hint_is "$empty"
expect_eq "$empty" "$(hint_sum)" "hint line after the mouse left the LED"

step "with Ctrl held the auto-scale click ends scale mode; released, button 1003 reads as before"
click $(at 400 480)  # keys reach the program only after a click into it
key_down ctrl
wait_for_eq -t 5 "Close All Running Processes" probe control 1003 text || _e2e_report "button 1003 not relabelled"
move $(at 810 12)    # the minimize button, the auto-scale button now
wait_for_screen a_hint_other_than "$empty"
autoscale_hint=$(hint_sum)   # the auto-scale hint at s = 1.0
n=$(hint_pixels)
((n > 30)) || _e2e_report "no auto-scale hint in the hint line ($n hint-coloured pixels)"
move $(at 400 480)
for _ in 1 2 3 4; do wheel up; done
# Waited for with Ctrl held, then every notch is known to be handled: the size stays.
wait_for_eq "935x605" size
wait_for_input
rect
expect_eq "935x605" "$((WR - WL))x$((WB - WT))" "size after four notches up (s = 1.1)"
key_down ctrl
wait_for_eq "Close All Running Processes" probe control 1003 text || _e2e_report "button 1003 not relabelled again"
move $(at 891 14)    # the auto-scale button at s = 1.1
wait_for_screen pixel_is 880 2 255,255,0
expect_eq 255,255,0 "$(pixel shot.png $((WL + 880)) $((WT + 2)))" "auto-scale button"
click $(at 891 14)
wait_for_eq "850x550" size   # the click is handled while Ctrl is still down
key_up ctrl
wait_for_eq "Find And Configure QEL Devices" probe control 1003 text ||
    _e2e_report "button 1003 reads \"$(probe control 1003 text)\" after Ctrl went up"
rect
expect_eq "850x550" "$((WR - WL))x$((WB - WT))" "size after the auto-scale click (the monitor's factor, 1.0)"
# The mouse is over the minimize button again.
wait_for_screen pixel_is_not 800 2 255,255,0
expect_ne 255,255,0 "$(pixel shot.png $((WL + 800)) $((WT + 2)))" "minimize button after Ctrl went up"
wait_for_screen hint_is_not "$autoscale_hint"
expect_ne "$autoscale_hint" "$(hint_sum)" "the auto-scale hint is gone"

step "at the largest scale the whole window lies within the work area"
IFS=, read -r AL AT AR AB < <(probe work-area)
read -r want_w want_h < <(awk -v w=$((AR - AL)) -v h=$((AB - AT)) 'BEGIN {
    s = w / 850; if (h / 550 < s) s = h / 550; if (s > 2) s = 2; if (s < 1) s = 1
    printf "%d %d\n", int(s * 850 + 0.5), int(s * 550 + 0.5) }')
move $(at 400 300)
click $(at 400 300)
key_down ctrl
wait_for_eq "Close All Running Processes" probe control 1003 text || _e2e_report "button 1003 not relabelled"
for _ in $(seq 45); do wheel up; done
# The window grows to its limit while Ctrl is held; the Ctrl messages then show that every
# notch was handled, and the size must have stayed.
wait_for_eq -t 60 "${want_w}x${want_h}" size
key_up ctrl
wait_for_input
rect
echo "work area $AL,$AT,$AR,$AB; window $WL,$WT,$WR,$WB"
expect_eq "${want_w}x${want_h}" "$((WR - WL))x$((WB - WT))" "size at the largest scale"
((WL >= AL && WT >= AT && WR <= AR && WB <= AB)) ||
    _e2e_report "window $WL,$WT,$WR,$WB reaches out of the work area $AL,$AT,$AR,$AB"
expect_eq "$((E2E_SCREEN_W - 10))" "$WR" "right edge kept"
finish
