#!/usr/bin/env bash
# Prints the program's benchmarks, each next to a baseline measured in the same run (the
# machine is shared: only ratios within one run compare):
#   start-up    process start to the painted main window (median and minimum of BENCH_REPS
#               runs, default 9), against a minimal Win32 dialog and against a dialog that
#               creates the program's four fonts and fills its two list views with the same
#               texts (and the same dialog on the program's own template, with all its
#               controls); and the program's own start-up step by step
#   bring-up    from the search click to the end of the search, against the floor of the
#               same bring-up: the stand-ins started one after another as the program starts
#               them, each until its record has been read (median of BENCH_BRINGUP_REPS
#               runs, default 3); ten instances that report at once, and three that report
#               after a second each
#   answers     the main window's answer times to WM_NULL, sent every 20 ms during the
#               ten-instance bring-up
#   repaint     a whole repaint of the main window, against a plain BitBlt of its size, and
#               each control's repaint alone
#   idle CPU    CPU time over BENCH_IDLE_SECONDS (default 60) of an idle main window,
#               against the minimal dialog idling at the same time
# Runs under Wine on an Xvfb display of its own (or DISPLAY when set).
#   bench.sh [BUILD_DIR]       (default build/windows)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=$(realpath -m "${1:-build/windows}")
reps=${BENCH_REPS:-9}
bringup_reps=${BENCH_BRINGUP_REPS:-3}
idle_seconds=${BENCH_IDLE_SECONDS:-60}

source scripts/wine-env.sh
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
targets=(brisvale benchtool minimal_dialog populated_dialog populated_full_dialog)
# In-process benchmark programs of the subsystems (tests/bench/*.cpp), each run as it is.
extra_benches=()
for src in tests/bench/*.cpp; do [ -f "$src" ] && extra_benches+=("$(basename "$src" .cpp)"); done
targets+=("${extra_benches[@]}")
have_backend=0
if cmake --build "$build" --target help 2>/dev/null | grep -q '^dravik:'; then targets+=(dravik); have_backend=1; fi
cmake --build "$build" -j2 --target "${targets[@]}" >/dev/null

ensure_display || exit 1
wine_prefix_init "${BRISVALE_WINEPREFIX:-$build/wineprefix-bench}" || exit 1

ws=$(mktemp -d /tmp/qel-bench.XXXXXX)
cleanup() {
    [ -f "$ws/benchtool.exe" ] && wine "$ws/benchtool.exe" kill brisvale.exe minimal_dialog.exe populated_dialog.exe \
        populated_full_dialog.exe dravik.exe >/dev/null 2>&1
    wineserver -k 2>/dev/null || true
    [ -z "${XVFB_PID:-}" ] || kill "$XVFB_PID" 2>/dev/null
    rm -rf "$ws"
}
trap cleanup EXIT
bash scripts/make-workspace.sh --with-config "$ws" "$build"
cp "$build/benchtool.exe" "$build/minimal_dialog.exe" "$build/populated_dialog.exe" "$build/populated_full_dialog.exe" "$ws/"
cd "$ws"
# A clean start: no settings of an earlier run.
wine reg delete 'HKCU\Morvane' /f >/dev/null 2>&1 || true

value() { tr -d '\r' | awk -v k="$1" '$1 == k { print $2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }
# "met" or "missed": whether the ratio of a to b is at most goal.
verdict() { awk -v a="$1" -v b="$2" -v g="$3" 'BEGIN { print (b > 0 && a / b <= g) ? "met" : "missed" }'; }
load() { read -r one five fifteen _ </proc/loadavg; echo "$one $five $fifteen"; }

echo "== machine: $(nproc) cores, load average (1, 5, 15 min) at the start: $(load)"

echo "== start-up (ms from process start to the painted window; median and minimum of $reps runs each)"
# The programs take turns, so that the machine's load meets each of them alike.
wine benchtool.exe startup --reps 1 --marker 1001 minimal_dialog.exe populated_dialog.exe >/dev/null  # warms Wine's caches
startup=$(wine benchtool.exe startup --reps "$reps" --marker 1001 --phases brisvale.exe minimal_dialog.exe \
    populated_dialog.exe populated_full_dialog.exe | tr -d '\r')
of() { awk -v e="$1" -v k="$2" '$1 == e && $2 == k { print $3 }' <<<"$startup"; }
p_med=$(of brisvale.exe median_ms); p_min=$(of brisvale.exe min_ms)
m_med=$(of minimal_dialog.exe median_ms); m_min=$(of minimal_dialog.exe min_ms)
f_med=$(of populated_dialog.exe median_ms); f_min=$(of populated_dialog.exe min_ms)
t_med=$(of populated_full_dialog.exe median_ms); t_min=$(of populated_full_dialog.exe min_ms)
printf '  %-40s %8s %8s\n' "" median minimum
printf '  %-40s %8.1f %8.1f\n' brisvale.exe "$p_med" "$p_min"
printf '  %-40s %8.1f %8.1f   ratio %s / %s\n' "minimal dialog" "$m_med" "$m_min" \
    "$(ratio "$p_med" "$m_med")" "$(ratio "$p_min" "$m_min")"
printf '  %-40s %8.1f %8.1f   ratio %s / %s (goal at most 1.5: %s / %s)\n' \
    "dialog with the fonts and filled lists" "$f_med" "$f_min" "$(ratio "$p_med" "$f_med")" \
    "$(ratio "$p_min" "$f_min")" "$(verdict "$p_med" "$f_med" 1.5)" "$(verdict "$p_min" "$f_min" 1.5)"
printf '  %-40s %8.1f %8.1f   ratio %s / %s\n' "the same on the program's dialog template" "$t_med" "$t_min" \
    "$(ratio "$p_med" "$t_med")" "$(ratio "$p_min" "$t_min")"
echo "  brisvale.exe step by step (ms after the process start when it ended; its own duration; medians):"
sed -n 's/^brisvale\.exe phase "\(.*\)" \([^ ]*\) \([^ ]*\)$/\1|\2|\3/p' <<<"$startup" |
    while IFS='|' read -r name end took; do printf '    %-28s %8s %8s\n' "$name" "$end" "$took"; done

echo "== bring-up (ms from the search click to the end of the search; median of $bringup_reps runs)"
if ((have_backend)); then
    # Every instance gets an adapter: the first one the program lists.
    adapter=$(wine benchtool.exe first-adapter brisvale.exe 2>/dev/null | tr -d "\r" || true)
    if [ -z "$adapter" ]; then
        echo "  skipped: the program lists no Ethernet adapter"
    else
        # Before each bring-up: a search saves the choices of its own rows only.
        assign_adapters() {
            for k in $(seq 1 10); do
                wine reg add 'HKCU\Morvane\Software\QelTsn\Configuration' /v "Qel${k}EthernetAdapter" /t REG_SZ \
                    /d "$adapter" /f >/dev/null
            done
        }
        behave() { for k in $(seq 0 9); do printf 'delay_ms=%s\r\nhttp=off\r\n' "$1" >"FileSystemFolders/FS_QEL_Instance$k/dravik-behaviour.txt"; done; }
        # One bring-up of INSTANCES stand-ins, printed as LABEL with its GOAL ratio; the tool's
        # output is kept in bringup-INSTANCES.txt (a file: backends keep the tool's standard
        # output open until they are ended).
        bringup() {
            local out="$ws/bringup-$1.txt" took floor
            assign_adapters
            if ! wine benchtool.exe bringup --floor --reps "$bringup_reps" --instances "$1" brisvale.exe >"$out"; then
                echo "  $2: failed"
                rm -f "$out"
                return
            fi
            took=$(value bringup_ms <"$out"); floor=$(value floor_ms <"$out")
            printf '  %-40s %8.1f %8.1f   ratio %s (goal at most %s: %s)\n' "$2" "$took" "$floor" \
                "$(ratio "$took" "$floor")" "$3" "$(verdict "$took" "$floor" "$3")"
        }
        printf '  %-40s %8s %8s\n' "" brisvale floor
        behave 0
        bringup 10 "ten instances, reporting at once" 1.3
        # Three instances: a configuration of the first three blocks of the default file.
        cp qel-configuration.txt qel-configuration.ten
        head -n 54 qel-configuration.ten >qel-configuration.txt
        behave 1000
        bringup 3 "three instances, reporting after 1 s" 1.1
        mv qel-configuration.ten qel-configuration.txt
        behave 0

        echo "== answers of the main window during the ten-instance bring-up (WM_NULL every 20 ms, ms)"
        if [ -s "$ws/bringup-10.txt" ]; then
            ten=$(cat "$ws/bringup-10.txt")
            longest=$(value answer_max_ms <<<"$ten")
            printf '  answers %s, longest %s, 99th percentile %s, median %s, timed out %s, while a box was open %s\n' \
                "$(value answers <<<"$ten")" "$longest" "$(value answer_p99_ms <<<"$ten")" \
                "$(value answer_median_ms <<<"$ten")" "$(value answers_timed_out <<<"$ten")" \
                "$(value answers_with_box <<<"$ten")"
            printf '  goal: no answer slower than 50 ms: %s\n' "$(awk -v m="$longest" 'BEGIN { print m <= 50 ? "met" : "missed" }')"
        else
            echo "  none: the bring-up failed"
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
echo "  each control alone (id, class, median ms; each check for a painted window costs $(value repaint_look_ms <<<"$out") ms):"
tr -d '\r' <<<"$out" | awk '$1 == "repaint_child" { printf "    %5s %-18s %8.3f\n", $2, $3, $4 }'
wine benchtool.exe kill brisvale.exe dravik.exe >/dev/null 2>&1 || true

for name in "${extra_benches[@]}"; do
    echo "== $name"
    cp "$build/$name.exe" "$ws/"
    # Bounded: a crash would otherwise wait for the debugger Wine starts.
    timeout 120 wine "$name.exe" 2>&1 | tr -d '\r' | sed 's/^/  /' || echo "  $name failed"
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
echo "== machine: load average at the end: $(load)"
