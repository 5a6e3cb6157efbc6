#!/usr/bin/env bash
# Builds brisvale.exe and the stand-in backend, lays out a demo workspace with ten instance
# folders, and runs the program under Wine. Without a display it runs under Xvfb, saves a
# screenshot and ends the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
source scripts/wine-env.sh
cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/windows -j"$(nproc)" --target brisvale dravik >/dev/null

workspace=${BRISVALE_DEMO:-/tmp/qel-bench}
bash scripts/make-workspace.sh --with-config "$workspace" "$root/build/windows"
wine_prefix_init "${BRISVALE_DEMO_PREFIX:-$HOME/.wine-qel-bench}"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    echo "Running brisvale.exe in $workspace (close the window to end)."
    cd "$workspace" && exec wine brisvale.exe
fi
ensure_display 97
cd "$workspace"
wine brisvale.exe >/dev/null 2>&1 &
sleep "${BRISVALE_DEMO_SECONDS:-12}"
shot="$workspace/screenshot.png"
import -window root "$shot"
wineserver -k 2>/dev/null || true
echo "No display: ran brisvale.exe under Xvfb ($DISPLAY); screenshot saved to $shot"
