#!/usr/bin/env bash
# The single-instance rule: a second copy says so, ends once the box is confirmed and starts
# no backend; the first copy keeps running undisturbed. A copy whose file name differs only
# in letter case is not a duplicate.
source "$(dirname "$0")/lib.sh"

write_config
start_brisvale --wait
first_unix=$E2E_PID
first=$(probe pids brisvale.exe)
first_rect=$(probe window-rect)
config_sum=$(md5sum <qel-configuration.txt)

step "a second copy shows the duplicate box"
start_brisvale
second_unix=$E2E_PID
expect_ok probe wait-count brisvale.exe 2 15000
second=$(probe pids brisvale.exe | grep -vx "$first")
expect_ne "" "$second" "process id of the second copy"
box=$(probe --pid "$second" message-box 15000)
expect_eq $'caption=Duplicate Process\ntext=brisvale.exe is already running.\nbuttons=OK\nicon=error' "$box" "the second copy's box"
expect_ok probe --pid "$first" no-box 0
expect_eq 0 "$(probe count-processes dravik.exe)" "dravik.exe processes while the box is open"

step "confirming the box ends the second copy only"
expect_ok probe --pid "$second" close-box
wait_exit "$second_unix"
expect_eq 0 "$?" "exit status of the second copy"
expect_eq "$first" "$(probe pids brisvale.exe)" "the copy still running"
expect_ok probe --pid "$first" wait-window 1000 >/dev/null
expect_eq "$first_rect" "$(probe window-rect)" "the first copy's window"
expect_ok probe --pid "$first" no-box 0
expect_eq 0 "$(probe count-processes dravik.exe)" "dravik.exe processes after the duplicate ended"
expect_eq "$config_sum" "$(md5sum <qel-configuration.txt)" "the configuration file after the duplicate"

step "a copy named Brisvale.exe is not a duplicate"
cp brisvale.exe Brisvale.exe
(exec "${E2E_WINE[@]}" Brisvale.exe) >>brisvale.out 2>&1 &
E2E_PIDS+=("$!")
other_unix=$!
on_exit 'probe kill Brisvale.exe >/dev/null 2>&1'
expect_ok probe wait-count Brisvale.exe 1 15000
other=$(probe pids Brisvale.exe)
if [ -n "$other" ]; then
    expect_ok probe --pid "$other" wait-window 20000 >/dev/null
    expect_ok probe --pid "$other" no-box 0
    expect_ok probe --pid "$first" no-box 0
    probe --pid "$other" post dlg 0x112 0xF060 0
    wait_exit "$other_unix"
fi
expect_eq "$first" "$(probe pids brisvale.exe)" "the first copy still runs"

finish
