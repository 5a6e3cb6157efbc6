#!/usr/bin/env bash
# Builds brisvale.exe and the stand-in backend, lays out a demo workspace with ten instance
# folders and the default configuration, and runs the program under Wine.
# With a display it runs until you close it. Without one it runs under Xvfb, gives every
# instance the first Ethernet adapter, presses "Find And Configure QEL Devices", waits for
# the ten instances to come up, saves a screenshot, prints its path and ends the program.
#   BRISVALE_DEMO         workspace folder (default /tmp/qel-bench)
#   BRISVALE_DEMO_PREFIX  Wine prefix (default ~/.wine-qel-bench)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
source scripts/wine-env.sh
# The toolchain file counts only when the folder is first configured: no warning later.
cmake -S . -B build/windows -G Ninja --no-warn-unused-cli -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/windows -j"$(nproc)" --target brisvale dravik probe >/dev/null

workspace=${BRISVALE_DEMO:-/tmp/qel-bench}
bash scripts/make-workspace.sh --with-config "$workspace" "$root/build/windows"
prefix=${BRISVALE_DEMO_PREFIX:-$HOME/.wine-qel-bench}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    wine_prefix_init "$prefix" || exit 1
    echo "Running brisvale.exe in $workspace (close the window to end)."
    cd "$workspace" && exec wine brisvale.exe
fi

# The display first: a Wine session begun without one keeps no window driver for the
# programs that join it.
ensure_display || exit 1
wine_prefix_init "$prefix" || exit 1
cd "$workspace"
cp "$root/build/windows/probe.exe" "$workspace/"
probe() { wine probe.exe "$@" 2>/dev/null | tr -d '\r'; }
adapter=$(probe adapters | awk -F'\t' '$1 == 6 { print $3; exit }')
if [ -n "$adapter" ]; then
    for k in $(seq 1 10); do
        wine reg add 'HKCU\Morvane\Software\QelTsn\Configuration' /v "Qel${k}EthernetAdapter" /t REG_SZ /d "$adapter" /f >/dev/null 2>&1
    done
fi
wine brisvale.exe >/dev/null 2>&1 &
end_session() { wineserver -k 2>/dev/null; [ -z "${XVFB_PID:-}" ] || kill "$XVFB_PID" 2>/dev/null; }
demo_failed() { echo "The demo failed: $*" >&2; end_session; exit 1; }
probe wait-window 60000 >/dev/null || demo_failed "brisvale.exe showed no main window within a minute."
probe stable 500 20000 >/dev/null || true
if [ -n "$adapter" ]; then
    echo "Every instance uses the adapter \"$adapter\"; searching for the ten instances..."
    probe click 1003 >/dev/null || demo_failed "\"Find And Configure QEL Devices\" could not be clicked."
    sleep 2
    for _ in $(seq 120); do [ "$(probe control 1016 enabled)" = 1 ] && break; sleep 0.5; done
    sleep 1
else
    echo "Wine lists no Ethernet adapter on this machine: the demo shows the idle window."
fi
shot="$workspace/screenshot.png"
import -window root "$shot"
wine probe.exe kill brisvale.exe dravik.exe >/dev/null 2>&1 || true
end_session
echo "No display: ran brisvale.exe under Xvfb ($DISPLAY); screenshot saved to $shot"
