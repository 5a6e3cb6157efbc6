#!/usr/bin/env bash
# Adapters and instance table editing on the real program: three veth adapters of known MACs,
# remembered choices in the registry, then real clicks: choose an adapter and give it to
# instances, open the startup-file chooser over its cell, close it without a choice, choose
# another file in its list (dropped down at once), and refresh the adapters.
source "$(dirname "$0")/lib.sh"

write_config
folder=$(instance_folder 2)
printf '<config/>\r\n' >"$folder/B.XML"
printf 'notes\r\n' >"$folder/notes.txt"
printf '<config/>\r\n' >"$folder/a.Xml"
mkdir -p "$folder/old.xml"
use_adapters qa=02:00:00:00:00:0a qb=02:00:00:00:00:0b qc=02:00:00:00:00:0c

settings='HKCU\Morvane\Software\QelTsn\Configuration'
probe reg-set "$settings" SelectedMacAddress 02-00-00-00-00-0B >/dev/null
probe reg-set "$settings" Qel1EthernetAdapter qb >/dev/null
probe reg-set "$settings" Qel3EthernetAdapter qb >/dev/null
probe reg-set "$settings" Qel4EthernetAdapter gone >/dev/null
start_brisvale --wait

adapter_cells() { probe list-cells 1001 | cut -f3 | tr '\n' ' ' | sed 's/ *$//'; }
# A real click on a row of the adapter list (in its first column).
click_adapter() {
    local rect x y
    read -r rect x y < <(probe list-cell-rect 1000 "$1" 0)
    click "$x" "$y"
}

step "the adapters, newest first, with their MACs; the remembered ones restored"
expect_eq $'qc\t02-00-00-00-00-0C\t\nqb\t02-00-00-00-00-0B\tYes\nqa\t02-00-00-00-00-0A\t' \
    "$(probe list-cells 1000 | cut -f2-4)" "adapter list (name, MAC, selected)"
expect_eq 1 "$(probe list-selected 1000)" "selected adapter row"
expect_eq "qb  qb" "$(adapter_cells)" "instance adapters after start-up"

step "a double-click on the adapter list changes nothing"
double_click_cell 1000 0 0
probe settle >/dev/null
expect_eq "qb  qb" "$(adapter_cells)" "instance adapters"

step "choosing adapter qa and double-clicking the adapter cell of row 2 fills it and every empty cell"
click_adapter 2
expect_eq 2 "$(probe list-selected 1000)" "selected adapter row"
double_click_cell 1001 1 2
probe settle >/dev/null
expect_eq "qb qa qb qa qa qa qa qa qa qa" "$(adapter_cells)" "instance adapters"

step "row 1 given qa by hand gets its remembered qb back on a refresh"
click_adapter 2
double_click_cell 1001 0 2
probe settle >/dev/null
expect_eq "qa qa qb qa qa qa qa qa qa qa" "$(adapter_cells)" "instance adapters before the refresh"
click_control 1002
probe settle >/dev/null
expect_eq "qb qa qb qa qa qa qa qa qa qa" "$(adapter_cells)" "instance adapters after the refresh"
expect_eq 1 "$(probe list-selected 1000)" "selected adapter row after the refresh"

step "a double-click on the startup file of row 3 opens the chooser over the cell"
# Bring column 7 into view: the list scrolls sideways (LVM_SCROLL).
probe send 1001 0x1014 300 0 >/dev/null
probe settle >/dev/null
read -r cell cx cy < <(probe list-cell-rect 1001 2 7)
IFS=, read -r cl ct cr cb <<<"$cell"
double_click "$cx" "$cy"
probe settle >/dev/null
expect_eq 1 "$(probe control 1018 visible)" "chooser shown"
expect_eq 0 "$(probe control 1001 enabled)" "instance table enabled while choosing"
expect_eq $'B.XML\neval-trx9420.xml\nold.xml' "$(probe combo-items 1018)" "startup files offered"
expect_eq 1 "$(probe send 1018 0x0157 0 0)" "list dropped down at once"
expect_eq $'1\teval-trx9420.xml' "$(probe combo-selection 1018)" "the current file chosen beforehand"
IFS=, read -r kl kt kr kb <<<"$(probe control 1018 screen)"
((kl <= cx && cx < kr && kt <= cy && cy < kb)) || _e2e_report "chooser $kl,$kt,$kr,$kb does not cover the cell's centre $cx,$cy"
((kr - kl >= cr - cl)) || _e2e_report "chooser $((kr - kl)) wide over a cell $((cr - cl)) wide"
read -r field_w first_x last_x length fitting list_w < <(probe combo-field 1018)
expect_eq "$length" "$fitting" "characters of the current file left of the field's right edge"

step "closing the dropped list without a choice writes nothing"
before=$(md5sum <qel-configuration.txt)
click "$((kr - 5))" "$(((kt + kb) / 2))"
probe settle >/dev/null
expect_eq 0 "$(probe control 1018 visible)" "chooser hidden"
expect_eq 1 "$(probe control 1001 enabled)" "instance table enabled again"
expect_eq "$before" "$(md5sum <qel-configuration.txt)" "configuration file"
expect_eq eval-trx9420.xml "$(probe list-cells 1001 2 7)" "startup file of row 3"

step "choosing B.XML writes it into instance 3's block and the cell"
double_click "$cx" "$cy"
probe settle >/dev/null
expect_eq 1 "$(probe control 1018 visible)" "chooser shown again"
expect_eq 1 "$(probe send 1018 0x0157 0 0)" "list dropped down at once"
IFS=, read -r kl kt kr kb <<<"$(probe control 1018 screen)"
click "$((kl + 10))" "$((kb + 8))"   # the first entry, just below the chooser
probe settle >/dev/null
expect_eq 0 "$(probe control 1018 visible)" "chooser hidden"
expect_eq 1 "$(probe control 1001 enabled)" "instance table enabled again"
expect_eq B.XML "$(probe list-cells 1001 2 7)" "startup file of row 3"
expect_eq "StartupFileName B.XML" \
    "$(awk '/^Instance 3\r?$/ { inside = 1 } /^Instance 4\r?$/ { inside = 0 } inside && /^StartupFileName/' qel-configuration.txt | tr -d '\r')" \
    "instance 3's startup file line"
expect_eq 10 "$(grep -c '^StartupFileName' qel-configuration.txt)" "startup file lines"
expect_eq 9 "$(grep -c '^StartupFileName eval-trx9420.xml' qel-configuration.txt)" "untouched startup file lines"
finish
