#!/usr/bin/env bash
# Soak: the program's open kernel handles and GDI objects stay flat over repeated
# searches, close-alls, rescales and flips, and no backend outlives the program's close.
#   BRISVALE_BIN=build/windows bash tests/soak/soak.sh [CYCLES]
# One cycle: a search over ten stand-in instances (each reporting at once), then Ctrl +
# "Find And Configure QEL Devices" to close all backends. Then SOAK_RESCALES Ctrl+wheel
# notches (alternately up and down, posted) and SOAK_FLIPS double-clicks on the drag bar.
# Environment: SOAK_CYCLES (20), SOAK_RESCALES (100), SOAK_FLIPS (100, kept even),
# SOAK_HANDLE_MARGIN (8), SOAK_GDI_MARGIN (2), SOAK_DC_MARGIN (6). Needs the brisvale, dravik, probe and
# benchtool targets of the Windows build. Not part of the test command (it is long); the
# short variant soak_short.sh takes about three minutes.
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"

cycles=${SOAK_CYCLES:-${1:-20}}
rescales=${SOAK_RESCALES:-100}
flips=$(( (${SOAK_FLIPS:-100} + 1) / 2 * 2 ))
handle_margin=${SOAK_HANDLE_MARGIN:-8}
gdi_margin=${SOAK_GDI_MARGIN:-2}
dc_margin=${SOAK_DC_MARGIN:-6}
BENCH="$E2E_BIN/benchtool.exe"
for f in "$BENCH" "$E2E_BIN/dravik.exe"; do
    [ -f "$f" ] || fail "$f is missing: build the benchtool and dravik targets"
done
bench() { wine "$BENCH" "$@" | tr -d '\r'; }
settings='HKCU\Morvane\Software\QelTsn\Configuration'

# ---- set-up: ten instances that report at once, each bound to the first adapter ----------
write_config
for k in $(seq 0 9); do
    printf 'delay_ms=0\r\nhttp=off\r\n' >"$E2E_WS/FileSystemFolders/FS_QEL_Instance$k/dravik-behaviour.txt"
done
adapter=$(bench first-adapter brisvale.exe) || fail "the program lists no Ethernet adapter"
for k in $(seq 1 10); do
    probe reg-set "$settings" "Qel${k}EthernetAdapter" "$adapter" >/dev/null || fail "the adapter of instance $k could not be remembered"
done
start_brisvale --wait

# ---- helpers ---------------------------------------------------------------------------
window_rect() { IFS=, read -r WL WT WR WB < <(probe window-rect | tr -d '\r'); }
center_of() {  # center_of ID -> CX CY (screen)
    local l t r b
    IFS=, read -r l t r b < <(probe control "$1" screen | tr -d '\r')
    CX=$(((l + r) / 2)) CY=$(((t + b) / 2))
}
# Scale mode: the Ctrl key messages are posted to the dialog (its loop sees them before
# dispatch, as it sees real ones), so no keyboard focus is needed under a bare X server.
ctrl_down() { probe post dlg 0x100 0x11 0x1D0001 >/dev/null; sleep 0.2; }
ctrl_up() { probe post dlg 0x101 0x11 0xC01D0001 >/dev/null; sleep 0.2; }
backends() { probe count-processes dravik.exe | tr -d '\r'; }
# What a failed cycle leaves to explain it: every open box, and for each instance that is
# not up its row and the end of its log.
report() {
    echo "== open boxes:"
    probe boxes | tr -d '\r' | sed 's/^/   /'
    local r
    for r in $(seq 0 9); do
        local active; active=$(probe list-cells 1001 "$r" 1 | tr -d '\r')
        [ "$active" = Yes ] && continue
        echo "== instance $((r + 1)) (FS_QEL_Instance$r): Active \"$active\", LED $(led_colour $((1004 + r))); end of its log:"
        tail -c 1500 "$(instance_log "$r")" 2>/dev/null | tr -d '\r' | sed 's/^/   /'
    done
}
soak_fail() {
    report >&2
    fail "$*"
}
search() {
    center_of 1003
    click "$CX" "$CY"
    wait_for_eq -t 90 10 backends || soak_fail "the search did not bring up ten backends"
    wait_for_eq -t 30 1 probe control 1016 enabled || soak_fail "the search did not end"
    probe no-box 0 >/dev/null 2>&1 || soak_fail "a box is open after the search"
}
close_all() {
    ctrl_down
    expect_eq "Close All Running Processes" "$(probe control 1003 text)" "button 1003 in scale mode"
    center_of 1003
    click "$CX" "$CY"
    ctrl_up
    wait_for_eq -t 30 0 backends || soak_fail "Ctrl + button 1003 left backends running"
}
rescale_and_flip() {  # rescale_and_flip NOTCHES FLIPS
    local i notches=$1 flips=$2
    bench rescale "$notches" || fail "the wheel notches could not be given"
    for ((i = 0; i < flips; i++)); do
        window_rect
        # The drag bar is the left strip (30 of 850 units wide) and the right one when flipped.
        local inset=$(((WR - WL) * 12 / 850)) y=$(((WT + WB) / 2))
        if ((i % 2)); then double_click $((WR - inset)) "$y"; else double_click $((WL + inset)) "$y"; fi
        sleep 0.15
    done
    probe settle >/dev/null
}
figures() {
    probe settle >/dev/null
    sleep 1
    bench diagnostics
}
figure() { awk -v k="$1" '$1 == k { print $2 }' <<<"$2"; }

# ---- warm-up, then the measured cycles ---------------------------------------------------
# A remembered adapter that did not get through would stop the first search at that instance
# with a "Process creation" box: check them all before measuring.
for r in $(seq 0 9); do
    [ "$(probe list-cells 1001 "$r" 2 | tr -d '\r')" = "$adapter" ] || soak_fail "instance $((r + 1)) has no adapter"
done
step "warm-up cycle"
search
close_all
rescale_and_flip 2 2
before=$(figures) || fail "the program gave no diagnostics figures"

for ((c = 1; c <= cycles; c++)); do
    step "cycle $c of $cycles"
    search
    close_all
done
step "$rescales rescales and $flips flips"
rescale_and_flip "$rescales" "$flips"
after=$(figures) || fail "the program gave no diagnostics figures"

step "figures before and after"
printf '%-22s %8s %8s\n' figure before after
# Of the probed GDI objects, the DCs and regions are mostly Wine's: it keeps a cache of
# display DCs, each with a clip region, that goes up and down with painting (seen: 199 or
# 203 objects, after 4 rescales as after 200, never more). They are judged apart, with a
# margin of their own; the program's own kinds (fonts, bitmaps, brushes, pens) must stay flat.
for f in before after; do
    printf -v "$f" '%s\nprobed_own_gdi_objects %s' "${!f}" \
        $(( $(figure probed_gdi_objects "${!f}") - $(figure probed_dcs_and_regions "${!f}") ))
done
for k in kernel_handles live_gdi_objects probed_own_gdi_objects probed_dcs_and_regions platform_handles \
    platform_gdi_objects; do
    printf '%-22s %8s %8s\n' "$k" "$(figure "$k" "$before")" "$(figure "$k" "$after")"
done
grow() { echo $(( $(figure "$1" "$after") - $(figure "$1" "$before") )); }
(( $(grow kernel_handles) <= handle_margin )) ||
    _e2e_report "kernel handles grew by $(grow kernel_handles) (margin $handle_margin)"
(( $(grow live_gdi_objects) <= gdi_margin )) ||
    _e2e_report "live GDI objects grew by $(grow live_gdi_objects) (margin $gdi_margin)"
# Every GDI object of the process, made through an owner or not (counted by probing the
# GDI handle table, which works under Wine; 0 on Windows, where the platform's figure counts).
(( $(grow probed_own_gdi_objects) <= gdi_margin )) ||
    _e2e_report "probed GDI objects other than DCs and regions grew by $(grow probed_own_gdi_objects) (margin $gdi_margin)"
# A DC taken and never given back grows this by one a paint; the cache only by a few.
(( $(grow probed_dcs_and_regions) <= dc_margin )) ||
    _e2e_report "probed DCs and regions grew by $(grow probed_dcs_and_regions) (margin $dc_margin)"
# On Windows the platform's own figures count too (they stay 0 under Wine).
(( $(grow platform_handles) <= handle_margin )) ||
    _e2e_report "platform handle count grew by $(grow platform_handles)"
(( $(grow platform_gdi_objects) <= gdi_margin )) ||
    _e2e_report "platform GDI count grew by $(grow platform_gdi_objects)"
E2E_CHECKS=$((E2E_CHECKS + 6))

step "the program's own close ends every backend"
search
window_rect
inset=$(((WR - WL) * 12 / 850))
click $((WR - inset)) $((WT + inset))
wait_exit "$E2E_PID" 30
expect_eq 0 "$?" "exit status of brisvale.exe"
expect_eq 0 "$(backends)" "dravik.exe processes after the program's close"

finish
