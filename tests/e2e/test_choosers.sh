#!/usr/bin/env bash
# Keys inside the two choosers while three backends run: the startup-file chooser opens
# dropped down with the current file selected and room for the longest name; Escape closes
# it and changes nothing (window, backends and configuration file stay as they were); Enter
# takes the highlighted file as a click would. In the browser chooser's dropped list Escape
# keeps the browser chosen before and Enter takes the highlighted one.
source "$(dirname "$0")/lib.sh"

instances_on_adapter lab0=02:00:00:00:01:01 3
for k in 0 1 2; do dravik_behaviour "$k" delay_ms=100 http=off; done
long=a-very-long-startup-configuration-name-for-the-lab.xml
folder=$(instance_folder 1)
printf '<config/>\r\n' >"$folder/B.XML"
printf '<config/>\r\n' >"$folder/$long"
fake_browser chrome >/dev/null
firefox_log=$(fake_browser firefox)
start_brisvale --wait

startup_line() {  # the StartupFileName line of instance 2's block
    awk '/^Instance 2\r?$/ { inside = 1 } /^Instance 3\r?$/ { inside = 0 } inside && /^StartupFileName/' \
        qel-configuration.txt | tr -d '\r'
}
open_chooser() {  # double-click row 1's startup file cell, scrolled into view
    probe send 1001 0x1014 300 0 >/dev/null
    probe settle >/dev/null
    double_click_cell 1001 1 7
    probe settle >/dev/null
}
dropped() { probe send "$1" 0x0157 0 0; }  # CB_GETDROPPEDSTATE
browser_key() {  # drop the browser chooser's list down, highlight the next entry, press KEY
    local bl bt br bb
    IFS=, read -r bl bt br bb <<<"$(probe control 1015 screen)"
    click $((br - 6)) $(((bt + bb) / 2))
    wait_for_eq -t 5 1 dropped 1015 || _e2e_report "the browser list did not drop down"
    key Down
    probe settle >/dev/null
    key "$1"
    probe settle >/dev/null
}

step "three instances come up"
click_control 1003
wait_for_eq -t 60 1 probe control 1016 enabled || fail "the search did not end"
expect_eq 3 "$(probe count-processes dravik.exe)" "backends running"
backends=$(probe pids dravik.exe | sort | tr '\n' ' ')
window=$(probe window-rect)
config=$(md5sum <qel-configuration.txt)

step "the startup-file chooser opens dropped down on the current file"
open_chooser
expect_eq 1 "$(probe control 1018 visible)" "chooser shown"
expect_eq 1 "$(dropped 1018)" "list dropped down at once"
expect_eq "$long B.XML eval-trx9420.xml" "$(probe combo-items 1018 | tr '\n' ' ' | sed 's/ $//')" "files offered"
expect_eq $'2\teval-trx9420.xml' "$(probe combo-selection 1018)" "current file selected"

step "the longest name fits the field and the dropped list"
key Up Up
probe settle >/dev/null
expect_eq $'0\t'"$long" "$(probe combo-selection 1018)" "highlighted by the arrow keys"
read -r field_w first_x last_x length fitting list_w < <(probe combo-field 1018)
echo "field: $field_w wide, characters at $first_x..$last_x, $fitting of $length left of its right edge; list $list_w wide"
((first_x >= 0)) || _e2e_report "the name starts left of the field ($first_x)"
expect_eq "$length" "$fitting" "characters left of the field's right edge"
((list_w >= last_x - first_x + 17)) || _e2e_report "dropped list $list_w wide for a name $((last_x - first_x)) wide and more"
IFS=, read -r kl _ kr _ <<<"$(probe control 1018 screen)"
expect_eq "$list_w" "$(( list_w >= kr - kl ? list_w : kr - kl ))" "dropped list at least as wide as the field"

step "Escape closes it: window, backends and configuration file stay as they were"
key Escape
probe settle >/dev/null
expect_eq 0 "$(probe control 1018 visible)" "chooser hidden"
expect_eq 1 "$(probe control 1001 enabled)" "instance table enabled again"
expect_eq "$window" "$(probe window-rect)" "the main window"
expect_eq "$backends" "$(probe pids dravik.exe | sort | tr '\n' ' ')" "the backends"
expect_eq "$config" "$(md5sum <qel-configuration.txt)" "configuration file"
expect_eq eval-trx9420.xml "$(probe list-cells 1001 1 7)" "startup file of row 2"
for r in 0 1 2; do expect_eq Yes "$(probe list-cells 1001 "$r" 1)" "row $r Active"; done

step "Enter takes the highlighted file as a click would"
open_chooser
expect_eq 1 "$(dropped 1018)" "list dropped down again"
key Up
probe settle >/dev/null
key Return
probe settle >/dev/null
expect_eq 0 "$(probe control 1018 visible)" "chooser hidden"
expect_eq B.XML "$(probe list-cells 1001 1 7)" "startup file of row 2"
expect_eq "StartupFileName B.XML" "$(startup_line)" "instance 2's startup file line"
expect_eq "$window" "$(probe window-rect)" "the main window"
expect_eq "$backends" "$(probe pids dravik.exe | sort | tr '\n' ' ')" "the backends"

step "in the browser chooser's list, Escape keeps the browser chosen before"
expect_eq $'Chrome\nFirefox' "$(probe combo-items 1015)" "browsers offered"
browser_key Escape
expect_eq 0 "$(dropped 1015)" "browser list closed"
expect_eq $'0\tChrome' "$(probe combo-selection 1015)" "browser chosen"
expect_eq "$window" "$(probe window-rect)" "the main window"

step "Enter takes the highlighted browser, and an LED click opens it"
browser_key Return
expect_eq 0 "$(dropped 1015)" "browser list closed"
expect_eq $'1\tFirefox' "$(probe combo-selection 1015)" "browser chosen"
click_control 1004
wait_for_eq -t 10 amber led_colour 1004 || _e2e_report "LED 1 did not turn amber"
expect_match "firefox.exe.* -url 127.0.0.1:50000" "$(cat "$firefox_log" 2>/dev/null)" "Firefox's command line"
expect_eq "$backends" "$(probe pids dravik.exe | sort | tr '\n' ' ')" "the backends"
finish
