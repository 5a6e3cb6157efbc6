#!/usr/bin/env bash
# Prints the program's benchmarks, each next to a baseline measured in the same run:
#   start-up    process start to the first painted main window, against a minimal Win32
#               dialog program started the same way (median of BENCH_REPS runs, default 5)
#   bring-up    ten stand-in instances that report at once, from the search click to the
#               end of the search, against the protocol's floor of ten half-second waits
#   repaint     a whole repaint of the main window, against a plain BitBlt of its size
#   idle CPU    CPU time over BENCH_IDLE_SECONDS (default 60) of an idle main window,
#               against the minimal dialog idling at the same time
# Runs under Wine on an Xvfb display of its own (or DISPLAY when set).
#   bench.sh [BUILD_DIR]       (default build/windows)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=$(realpath -m "${1:-build/windows}")
reps=${BENCH_REPS:-5}
idle_seconds=${BENCH_IDLE_SECONDS:-60}

source scripts/wine-env.sh
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
targets=(brisvale benchtool minimal_dialog)
# In-process benchmark programs of the subsystems (tests/bench/*.cpp), each run as it is.
extra_benches=()
for src in tests/bench/*.cpp; do [ -f "$src" ] && extra_benches+=("$(basename "$src" .cpp)"); done
targets+=("${extra_benches[@]}")
have_backend=0
if cmake --build "$build" --target help 2>/dev/null | grep -q '^dravik:'; then targets+=(dravik); have_backend=1; fi
cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null

ensure_display "${BENCH_DISPLAY:-96}"
wine_prefix_init "${BRISVALE_WINEPREFIX:-$build/wineprefix-bench}" || exit 1

ws=$(mktemp -d /tmp/qel-bench.XXXXXX)
cleanup() {
    [ -f "$ws/benchtool.exe" ] && wine "$ws/benchtool.exe" kill brisvale.exe minimal_dialog.exe dravik.exe >/dev/null 2>&1
    wineserver -k 2>/dev/null || true
    rm -rf "$ws"
}
trap cleanup EXIT
bash scripts/make-workspace.sh --with-config "$ws" "$build"
cp "$build/benchtool.exe" "$build/minimal_dialog.exe" "$ws/"
cd "$ws"
# A clean start: no settings of an earlier run.
wine reg delete 'HKCU\Morvane' /f >/dev/null 2>&1 || true

value() { tr -d '\r' | awk -v k="$1" '$1 == k { print $2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }

echo "== start-up (median of $reps runs, ms)"
wine benchtool.exe startup --reps 1 minimal_dialog.exe >/dev/null  # warms Wine's caches
base=$(wine benchtool.exe startup --reps "$reps" minimal_dialog.exe | value median_ms)
prog=$(wine benchtool.exe startup --reps "$reps" --marker 1001 brisvale.exe | value median_ms)
printf '  brisvale.exe      %8.1f\n  minimal dialog    %8.1f\n  ratio             %8s\n' "$prog" "$base" "$(ratio "$prog" "$base")"

echo "== ten-instance bring-up (ms)"
if ((have_backend)); then
    for k in $(seq 0 9); do printf 'delay_ms=0\r\nhttp=off\r\n' >"FileSystemFolders/FS_QEL_Instance$k/dravik-behaviour.txt"; done
    # Every instance gets an adapter: the first one the program lists.
    adapter=$(wine benchtool.exe first-adapter brisvale.exe 2>/dev/null | tr -d "\r" || true)
    if [ -z "$adapter" ]; then
        echo "  skipped: the program lists no Ethernet adapter"
    else
        for k in $(seq 1 10); do
            wine reg add 'HKCU\Morvane\Software\QelTsn\Configuration' /v "Qel${k}EthernetAdapter" /t REG_SZ /d "$adapter" /f >/dev/null
        done
        # To a file: the program and its backends keep running after the measurement and
        # hold on to the tool's standard output, so a pipe would never see its end.
        if wine benchtool.exe bringup brisvale.exe >"$ws/bringup.txt"; then
            out=$(cat "$ws/bringup.txt")
            took=$(value bringup_ms <<<"$out"); floor=$(value bringup_floor_ms <<<"$out")
            printf '  ten instances     %8.1f\n  protocol floor    %8.1f\n  ratio             %8s\n' "$took" "$floor" "$(ratio "$took" "$floor")"
        else
            echo "  failed"
        fi
        wine benchtool.exe kill brisvale.exe dravik.exe >/dev/null 2>&1 || true
        wine reg delete 'HKCU\Morvane' /f >/dev/null 2>&1 || true
    fi
else
    echo "  skipped: the build has no stand-in backend (target dravik)"
fi

echo "== repaint of the main window (median, ms)"
(wine brisvale.exe >/dev/null 2>&1 &)
wine benchtool.exe wait-window brisvale.exe >/dev/null
sleep 1
out=$(wine benchtool.exe repaint --reps 50)
rep=$(value repaint_median_ms <<<"$out"); blit=$(value blit_median_ms <<<"$out")
printf '  whole window %s  %8.3f\n  plain BitBlt      %8.3f\n  ratio             %8s\n' \
    "$(value repaint_size <<<"$out")" "$rep" "$blit" "$(ratio "$rep" "$blit")"
wine benchtool.exe kill brisvale.exe dravik.exe >/dev/null 2>&1 || true

for name in "${extra_benches[@]}"; do
    echo "== $name"
    cp "$build/$name.exe" "$ws/"
    wine "$name.exe" 2>&1 | tr -d '\r' | sed 's/^/  /' || echo "  $name failed"
done

echo "== idle CPU over ${idle_seconds} s (ms of CPU time, % of one core)"
# Wine reports no CPU time of other processes through GetProcessTimes, so the figures come
# from the Linux side: utime + stime of the process of each program in this run's prefix.
cpu_ticks() {
    local p total=0 stat
    for p in /proc/[0-9]*; do
        [[ "$(tr '\0' ' ' 2>/dev/null <"$p/cmdline")" == "$1 "* ]] || continue
        tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
        stat=$(cat "$p/stat" 2>/dev/null) || continue
        stat=${stat##*) }
        read -r -a f <<<"$stat"
        total=$((total + f[11] + f[12]))
    done
    echo "$total"
}
(wine brisvale.exe >/dev/null 2>&1 &)
(wine minimal_dialog.exe >/dev/null 2>&1 &)
wine benchtool.exe wait-window brisvale.exe >/dev/null
sleep 3
hz=$(getconf CLK_TCK)
p0=$(cpu_ticks brisvale.exe); b0=$(cpu_ticks minimal_dialog.exe); t0=$(date +%s.%N)
sleep "$idle_seconds"
p1=$(cpu_ticks brisvale.exe); b1=$(cpu_ticks minimal_dialog.exe); t1=$(date +%s.%N)
idle_line() { awk -v n="$1" -v d="$2" -v hz="$hz" -v s="$3" 'BEGIN { ms = d * 1000 / hz; printf "  %-17s %8.1f  (%.3f %%)\n", n, ms, ms / (s * 10) }'; }
elapsed=$(awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }')
idle_line brisvale.exe "$((p1 - p0))" "$elapsed"
idle_line "minimal dialog" "$((b1 - b0))" "$elapsed"
wine benchtool.exe kill brisvale.exe minimal_dialog.exe >/dev/null 2>&1 || true
