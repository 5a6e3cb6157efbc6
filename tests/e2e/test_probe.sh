#!/usr/bin/env bash
# The rig's own driver against a window of known content: every end-to-end test trusts what
# probe.exe reads from other processes (list cells, headers, combo boxes, boxes, processes,
# registry, pixels), so a fault there would hide faults of the program.
source "$(dirname "$0")/lib.sh"

run_wine "$E2E_PROBE" fixture >fixture.out 2>&1 &
fixture_unix=$!
E2E_PIDS+=("$fixture_unix")
wait_for test -s fixture.out || fail "the fixture window did not start"
fx=$(head -1 fixture.out | tr -d '\r')
fprobe() { probe --pid "$fx" "$@"; }
expect_ok fprobe wait-window 10000 >/dev/null

step "list views of another process"
expect_eq $'Name\t100\nValue\t110\nNote\t120' "$(fprobe list-headers 1001)" "headers and widths"
expect_eq $'one\t1\t\ntwo\t2\ta b\\tc\nthree\t3\tété' "$(fprobe list-cells 1001)" "all cells"
expect_eq "3" "$(fprobe list-count 1001)" "row count"
expect_eq $'two\t2\ta b\\tc' "$(fprobe list-cells 1001 1)" "one row"
expect_eq "été" "$(fprobe list-cells 1001 2 2)" "one cell"
expect_fails fprobe list-cells 1001 3 0 2>/dev/null
expect_eq "" "$(fprobe list-selected 1001)" "selection before the click"
read -r _ x y < <(fprobe list-cell-rect 1001 2 0)
click "$x" "$y"
wait_for_eq 2 fprobe list-selected 1001
expect_eq 2 "$(fprobe list-selected 1001)" "selection after a click on row 2"
E2E_TARGET_PID=$fx double_click_cell 1001 1 0
wait_for_eq "Fixture double-click 1,0" eval "fprobe windows | cut -f6"
expect_eq "Fixture double-click 1,0" "$(fprobe windows | cut -f6)" "title after a double-click on row 1"

step "combo boxes of another process"
expect_eq $'alpha\nbeta\ngamma' "$(fprobe combo-items 1015)" "combo items"
expect_eq $'1\tbeta' "$(fprobe combo-selection 1015)" "combo selection"

step "controls and pixels"
expect_eq "Button" "$(fprobe control 1002 class)" "class of 1002"
expect_eq "Show box" "$(fprobe control 1002 text)" "text of 1002"
IFS=, read -r l t r b < <(fprobe control 1002 screen)
screenshot shot.png
expect_eq "$(fprobe pixel $((l + 3)) $((t + 3)))" "$(pixel shot.png $((l + 3)) $((t + 3)))" "a pixel read both ways"

step "message boxes"
expect_ok fprobe no-box 0
fprobe click 1002
expect_eq $'caption=Fixture\ntext=first line\\r\\nsecond line\nbuttons=OK\nicon=exclamation' \
    "$(fprobe message-box 10000)" "the fixture's box"
expect_ok fprobe close-box
expect_ok fprobe no-box 2000
expect_fails fprobe close-box 1 200 2>/dev/null

step "processes: exact names, waiting, ending"
expect_eq 1 "$(probe count-processes probe.exe)" "probe.exe processes besides this one"
expect_eq 0 "$(probe count-processes PROBE.exe)" "a name differing in case"
expect_eq "$fx" "$(probe pids probe.exe)" "the fixture's process id"
expect_eq 1 "$(probe kill probe.exe)" "processes ended"
expect_ok probe wait-gone probe.exe 5000
wait_exit "$fixture_unix" 10 >/dev/null

step "registry"
key='HKCU\Morvane\Software\QelTsn\ProbeCheck'
expect_ok probe reg-set "$key" Value "a b"
expect_eq "a b" "$(probe reg-get "$key" Value)" "value read back"
expect_ok probe reg-delete 'HKCU\Morvane\Software\QelTsn\ProbeCheck'
expect_fails probe reg-get "$key" Value 2>/dev/null

step "stand-in browsers record how they were started"
args=$(fake_browser firefox)
expect_eq "$(win_path "$E2E_WS/browsers/firefox.exe")" \
    "$(probe reg-get "$E2E_APP_PATHS\\firefox.exe" "")" "the App Paths default value"
run_wine "$E2E_WS/browsers/firefox.exe" -url 127.0.0.1:50000
run_wine "$E2E_WS/browsers/firefox.exe" -url 127.0.0.1:50009
expect_match '^[^
]*firefox.exe"? +-url 127.0.0.1:50000
[^
]*firefox.exe"? +-url 127.0.0.1:50009$' "$(cat "$args" 2>/dev/null)" "recorded command lines"

step "a probe Wine did not run is asked again, twice, each time noted; one that says why is not"
E2E_WINE_FAULTS=$E2E_WS/wine-faults.log   # these faults are made here, not Wine's
real_probe=$E2E_PROBE
E2E_PROBE=$E2E_WS/no-such-probe.exe
probe windows 2>/dev/null
expect_ne 0 "$?" "the status of a probe Wine did not run"
E2E_PROBE=$real_probe
expect_eq 2 "$(grep -c "Wine did not run the probe (windows:" "$E2E_WINE_FAULTS")" "notes of a probe asked again"
expect_fails fprobe control 9999 2>/dev/null
expect_eq 2 "$(grep -c "Wine did not run the probe" "$E2E_WINE_FAULTS")" "notes after a probe that said why it failed"

finish
