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
at() { echo $((WL + $1)) $((WT + $2)); }  # screen point of a client point (no frame)
shot() { sleep 0.5; screenshot shot.png; }
# The hint line's left part at s = 1.0 (the banner covers its right end).
hint_area() { convert "$E2E_WS/shot.png" -crop "560x25+$((WL + 40))+$((WT + 520))" +repage "$1"; }
hint_sum() { hint_area rgb:- | md5sum | cut -d' ' -f1; }
hint_pixels() { hint_area txt:- | grep -c "($HINT)"; }  # pixels of the hint colour
rect

step "hovering an LED paints its hint in the hint line; leaving clears it"
move $(at 400 480)   # the body, away from every control
shot
empty=$(hint_sum)
expect_eq 0 "$(hint_pixels)" "hint-coloured pixels with nothing under the mouse"
IFS=, read -r l t r b < <(probe control 1006 screen)
move $(((l + r) / 2)) $(((t + b) / 2))
shot
expect_ne "$empty" "$(hint_sum)" "hint line over LED 3"
n=$(hint_pixels); echo "hint-coloured pixels over LED 3: $n"
((n > 30)) || _e2e_report "hardly any hint-coloured pixels over LED 3"
led3=$(hint_sum)
IFS=, read -r l t r b < <(probe control 1004 screen)
move $(((l + r) / 2)) $(((t + b) / 2))
shot
expect_ne "$led3" "$(hint_sum)" "hint line over LED 1, after LED 3"
move $(at 400 480)
shot
expect_eq "$empty" "$(hint_sum)" "hint line after the mouse left the LED"

step "with Ctrl held the auto-scale click ends scale mode; released, button 1003 reads as before"
click $(at 400 480)  # keys reach the program only after a click into it
key_down ctrl
wait_for_eq -t 5 "Close All Running Processes" probe control 1003 text || _e2e_report "button 1003 not relabelled"
move $(at 810 12)    # the minimize button, the auto-scale button now
shot
autoscale_hint=$(hint_sum)   # the auto-scale hint at s = 1.0
n=$(hint_pixels)
((n > 30)) || _e2e_report "no auto-scale hint in the hint line ($n hint-coloured pixels)"
move $(at 400 480)
for _ in 1 2 3 4; do wheel up; sleep 0.3; done
rect
expect_eq "935x605" "$((WR - WL))x$((WB - WT))" "size after four notches up (s = 1.1)"
move $(at 891 14)    # the auto-scale button at s = 1.1
shot
expect_eq 255,255,0 "$(pixel shot.png $((WL + 880)) $((WT + 2)))" "auto-scale button"
click $(at 891 14)
sleep 0.5
key_up ctrl
wait_for_eq -t 5 "Find And Configure QEL Devices" probe control 1003 text ||
    _e2e_report "button 1003 reads \"$(probe control 1003 text)\" after Ctrl went up"
rect
expect_eq "850x550" "$((WR - WL))x$((WB - WT))" "size after the auto-scale click (the monitor's factor, 1.0)"
shot   # the mouse is over the minimize button again
expect_ne 255,255,0 "$(pixel shot.png $((WL + 800)) $((WT + 2)))" "minimize button after Ctrl went up"
expect_ne "$autoscale_hint" "$(hint_sum)" "the auto-scale hint is gone"

step "at the largest scale the whole window lies within the work area"
IFS=, read -r AL AT AR AB < <(probe work-area)
read -r want_w want_h < <(awk -v w=$((AR - AL)) -v h=$((AB - AT)) 'BEGIN {
    s = w / 850; if (h / 550 < s) s = h / 550; if (s > 2) s = 2; if (s < 1) s = 1
    printf "%d %d\n", int(s * 850 + 0.5), int(s * 550 + 0.5) }')
move $(at 400 300)
click $(at 400 300)
key_down ctrl
sleep 0.3
for _ in $(seq 45); do wheel up; sleep 0.12; done
sleep 0.8
key_up ctrl
rect
echo "work area $AL,$AT,$AR,$AB; window $WL,$WT,$WR,$WB"
expect_eq "${want_w}x${want_h}" "$((WR - WL))x$((WB - WT))" "size at the largest scale"
((WL >= AL && WT >= AT && WR <= AR && WB <= AB)) ||
    _e2e_report "window $WL,$WT,$WR,$WB reaches out of the work area $AL,$AT,$AR,$AB"
expect_eq "$((E2E_SCREEN_W - 10))" "$WR" "right edge kept"
finish
