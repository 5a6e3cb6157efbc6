#!/usr/bin/env bash
# What a lab user sees on the real program: the adapter picked in the upper list stays
# highlighted after the focus moved to the instance table; a startup-file chooser widened
# for a very long name stays inside the table and above it, its arrow button in sight; a
# browser typed into the browser chooser is taken in any case, and text that names none
# makes a click on a green LED say so; the "Unexpected process exit" box's log tail starts
# with a whole line. E2E_SHOTS=FOLDER keeps the screenshots there.
source "$(dirname "$0")/lib.sh"

write_config 3
for k in 0 1 2; do dravik_behaviour "$k" delay_ms=100 http=off; done
# Instance 3's log ends with a long line (its record text, logged) and two short ones: the
# last 1023 bytes begin inside the long line.
dravik_behaviour 2 delay_ms=100 http=off "text=$(printf 'n%.0s' $(seq 950))"
long=$(printf 'lab-startup-configuration-%.0s' $(seq 7))eval.xml
printf '<config/>\r\n' >"$(instance_folder 0)/$long"
fake_browser chrome >/dev/null
firefox_log=$(fake_browser firefox)
use_adapters qa=02:00:00:00:00:0a qb=02:00:00:00:00:0b
start_brisvale --wait

shot() {  # shot NAME: a screenshot in the workspace, and in E2E_SHOTS when given
    screenshot "$1.png"
    [ -z "${E2E_SHOTS:-}" ] || cp "$1.png" "$E2E_SHOTS/$E2E_NAME-$1.png"
}
# row_point LIST ROW: a screen point inside the row, just right of its left edge
row_point() { probe list-cell-rect "$1" "$2" 0 | { IFS=', ' read -r l _ _ _ _ y; echo "$((l + 3)) $y"; }; }

step "the adapter clicked in the upper list stays highlighted once the table has the focus"
read -r ax ay < <(row_point 1000 1)
read -r bx by < <(row_point 1000 0)
click "$((ax + 20))" "$ay"
double_click_cell 1001 0 2
probe settle >/dev/null
expect_eq "qa" "$(probe list-cells 1001 0 2 | tr -d '\r')" "adapter given to row 1"
expect_eq 1 "$(probe list-selected 1000 | tr -d '\r')" "selected adapter row"
move 0 "$((E2E_SCREEN_H - 1))"
probe settle >/dev/null
shot adapter-selected-after-focus-moved
selected=$(pixel adapter-selected-after-focus-moved.png "$ax" "$ay")
other=$(pixel adapter-selected-after-focus-moved.png "$bx" "$by")
expect_eq "255,255,255" "$other" "the other row's background"
# Clearly told from white: the list's own grey for an unfocused selection (245) is not.
IFS=, read -r r g b <<<"$selected"
(((255 - r) + (255 - g) + (255 - b) >= 90)) || _e2e_report "the selected row's background $selected is hardly told from white"

step "three instances come up"
click_control 1003
wait_for_eq -t 60 "green green green" leds || fail "the search did not bring the three instances up"
wait_for_eq -t 30 1 probe control 1016 enabled || fail "the search did not end"

step "a chooser widened for a very long name stays inside the table, above it"
probe send 1001 0x1014 300 0 >/dev/null   # scroll column 7 into view
probe settle >/dev/null
double_click_cell 1001 0 7
probe settle >/dev/null
expect_eq 1 "$(probe control 1018 visible)" "chooser shown"
IFS=, read -r kl kt kr kb <<<"$(probe control 1018 screen)"
IFS=, read -r tl tt tr tb <<<"$(probe control 1001 inner)"
((tl <= kl && kr <= tr && tt <= kt && kb <= tb)) || _e2e_report "chooser $kl,$kt,$kr,$kb reaches out of the table $tl,$tt,$tr,$tb"
z_chooser=$(probe control 1018 z | tr -d '\r') z_table=$(probe control 1001 z | tr -d '\r')
((z_chooser < z_table)) || _e2e_report "chooser at $z_chooser in the z-order, under the table at $z_table"
read -r _ _ _ _ _ list_w < <(probe combo-field 1018)
((list_w > kr - kl)) || _e2e_report "dropped list $list_w wide, no wider than the field ($((kr - kl))) the name does not fit"
shot chooser-arrow-in-sight
# The arrow button: a face that is not the table's white, with a dark arrow in its middle.
face=$(pixel chooser-arrow-in-sight.png "$((kr - 3))" "$((kt + 3))")
expect_ne "255,255,255" "$face" "arrow button face at its top right corner"
darkest=$(convert chooser-arrow-in-sight.png -crop "14x$((kb - kt - 6))+$((kr - 17))+$((kt + 3))" -colorspace Gray \
    -format '%[fx:int(255*minima)]' info:)
((darkest < 100)) || _e2e_report "no dark arrow in the button (darkest grey $darkest)"
key Escape
probe settle >/dev/null
expect_eq 0 "$(probe control 1018 visible)" "chooser hidden"

step "\"firefox\" typed into the browser chooser opens Firefox"
type_browser() {  # replaces the chooser's text by typing
    IFS=, read -r bl bt br bb <<<"$(probe control 1015 screen)"
    click $((bl + 10)) $(((bt + bb) / 2))
    key End shift+Home BackSpace
    xdotool type --delay 30 "$1"
    probe settle >/dev/null
}
type_browser firefox
expect_eq "firefox" "$(probe control 1015 text | tr -d '\r')" "chooser text"
click_control 1004
wait_for_eq -t 10 amber led_colour 1004 || _e2e_report "LED 1 did not turn amber"
expect_match "firefox.exe.* -url 127.0.0.1:50000" "$(cat "$firefox_log" 2>/dev/null)" "Firefox's command line"
expect_eq $'1\tFirefox' "$(probe combo-selection 1015 | tr -d '\r')" "browser chosen"
expect_ok probe no-box 300

step "a name of no offered browser: the click says to choose one"
type_browser Opera
click_control 1005
probe wait-box "Open Web Browser" 5000 >/dev/null || fail "no box after the click on LED 2"
box=$(probe message-box)
expect_match "text=Choose Chrome, Edge or Firefox in the list at the right\.\r?$" "$(grep '^text=' <<<"$box")" "box text"
expect_match "icon=exclamation" "$box" "box icon"
probe close-box
expect_eq green "$(led_colour 1005)" "LED 2"
expect_eq 1 "$(grep -c '' "$firefox_log")" "browser starts"

step "the exit box's log tail starts with a whole line"
log=$(instance_log 2)
pid=$(backend_pid 2)
probe kill-pid "$pid" 5 || fail "could not end the backend of instance 3"
probe wait-box "Unexpected process exit" 10000 >/dev/null || fail "no box for the ended backend"
size=$(stat -c %s "$log")
((size > 1023)) || fail "instance 3's log has only $size bytes"
[ "$(tail -c 1024 "$log" | head -c 1)" != $'\n' ] || fail "the last 1023 bytes start with a whole line anyway"
# The box shows its line breaks as \r and \n.
whole=$(tail -c 1023 "$log" | sed '1d' | sed 's/\r$/\\r/' | awk 'BEGIN { ORS = "\\n" } { print }')
box_text=$(probe message-box | tr -d '\r' | sed -n 's/^text=//p')
tail_shown=${box_text#*===========LOG===========\\n}
expect_eq "$whole" "$tail_shown" "the tail shown"
expect_match '^[0-9]{2}:[0-9]{2}:[0-9]{2}\.[0-9]{3} ' "$tail_shown" "first line of the tail"
shot exit-box-whole-first-line
probe close-box
finish
