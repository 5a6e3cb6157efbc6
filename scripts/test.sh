#!/usr/bin/env bash
# Runs every test: native unit tests under ASan+UBSan, the concurrency tests under TSan,
# the fuzzers for a bounded time, then the Windows tests and end-to-end tests under Wine
# and Xvfb. Installs what it needs first.
# The Windows build comes first: its tests, mostly waiting on Wine, then run in the
# background, several at once and each in a Wine session of its own, while the native,
# TSan and fuzz steps use the processors. At the end: each step's time and the five
# slowest tests.
#   BRISVALE_FUZZ_SECONDS   time per fuzzer (default 20)
#   BRISVALE_WINE_JOBS      Windows and end-to-end tests run at once (default 2 per core)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/wine-env.sh
jobs=$(nproc)
wine_jobs=${BRISVALE_WINE_JOBS:-$((2 * jobs))}
fuzz_seconds=${BRISVALE_FUZZ_SECONDS:-20}
failed=()
timings=()
test_logs=()
step_name=""

end_step() {
    [ -n "$step_name" ] && timings+=("$((SECONDS - step_began))"$'\t'"$step_name")
    step_name=""
}
step() {
    end_step
    echo; echo "=== $*"
    step_name=$*
    step_began=$SECONDS
}
run() { "$@" || failed+=("$*"); }
# ctest_logged NAME ARGS...: ctest with its output shown and kept for the summary.
ctest_logged() {
    local log="$root/build/ctest-$1.log"; shift
    test_logs+=("$log")
    ctest "$@" 2>&1 | tee "$log"
}

step "setup: packages, and every command the scripts call comes from them"
bash scripts/setup.sh || exit 1
run bash scripts/check-commands.sh --provided
run bash tests/setup/test_command_list.sh

step "Windows build (MinGW-w64)"
windows_built=""
# The toolchain file counts only when the folder is first configured: no warning later.
cmake -S . -B build/windows -G Ninja --no-warn-unused-cli -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null &&
    cmake --build build/windows -j"$jobs" && windows_built=1 || failed+=("Windows build")

wine_tests=""
if [ -n "$windows_built" ]; then
    step "Wine prefix that every Windows and end-to-end test copies"
    prefix="$root/build/windows/wineprefix"
    (ensure_display && wine_prefix_init "$prefix" unmanaged; status=$?
        [ -z "${XVFB_PID:-}" ] || kill "$XVFB_PID"; exit $status) ||
        { echo "FAILED: the Wine prefix could not be set up"; exit 1; }
    export BRISVALE_WINEPREFIX=$prefix
    wine_log="$root/build/ctest-windows.log"
    test_logs+=("$wine_log")
    wine_began=$SECONDS
    wine_ended="$root/build/ctest-windows.ended"
    rm -f "$wine_ended"
    rm -f build/windows/wine-faults.log
    (ctest --test-dir build/windows --output-on-failure -j"$wine_jobs" >"$wine_log" 2>&1; status=$?
        echo "$SECONDS" >"$wine_ended"; exit $status) &
    wine_tests=$!
    echo "started in the background, $wine_jobs at once; their output follows the other steps"
fi

step "native build (ASan + UBSan) and unit tests"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRISVALE_SANITIZER=address >/dev/null &&
    cmake --build build/native -j"$jobs" &&
    run ctest_logged native --test-dir build/native --output-on-failure -j"$jobs" || failed+=("native build")

step "native build (TSan) and the concurrency tests"
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRISVALE_SANITIZER=thread >/dev/null &&
    cmake --build build/tsan -j"$jobs" &&
    run ctest_logged tsan --test-dir build/tsan --output-on-failure -j"$jobs" || failed+=("TSan build")

step "fuzzers (libFuzzer, ${fuzz_seconds}s each, side by side)"
# One fuzzer: its corpus grows from the seeds; the log is shown only when it found a crash.
fuzz() {
    local name; name=$(basename "$1")
    local corpus="build/fuzz/corpus-$name" seeds="tests/fuzz/seeds/$name" log="build/fuzz/$name.log"
    mkdir -p "$corpus"
    [ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null
    if "$1" -max_total_time="$fuzz_seconds" -print_final_stats=0 "$corpus" >"$log" 2>&1; then
        echo "$name: $(grep -c '' "$log") log lines, no crash"
    else
        tail -30 "$log"; return 1
    fi
}
if CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRISVALE_SANITIZER=address \
    -DBRISVALE_FUZZ=ON >/dev/null && cmake --build build/fuzz -j"$jobs"; then
    fuzzers=()
    for fuzzer in build/fuzz/fuzz_*; do
        [ -x "$fuzzer" ] || continue
        fuzz "$fuzzer" &
        fuzzers+=("$!:$fuzzer")
    done
    for entry in "${fuzzers[@]}"; do wait "${entry%%:*}" || failed+=("${entry#*:}"); done
else
    failed+=("fuzz build")
fi

if [ -n "$wine_tests" ]; then
    step "Windows and end-to-end tests under Wine (began after the Windows build)"
    wait "$wine_tests" || failed+=("Windows and end-to-end tests")
    cat "$wine_log"
    end_step
    timings[-1]="$(($(<"$wine_ended") - wine_began))"$'\t'"${timings[-1]#*$'\t'}"   # their own time, not the wait's
fi
end_step

echo
echo "=== where the time went"
for t in "${timings[@]}"; do printf '%5d s  %s\n' "${t%%$'\t'*}" "${t#*$'\t'}"; done
echo "  (the Windows and end-to-end tests overlap the native, TSan and fuzz steps)"
echo "=== the five slowest tests"
cat "${test_logs[@]}" 2>/dev/null | sed -nE 's/.*Test +#[0-9]+: ([^ ]+) .* ([0-9.]+) sec$/\2 \1/p' | sort -rn | head -5 |
    while read -r seconds name; do printf '%7.1f s  %s\n' "$seconds" "$name"; done

if [ -s build/windows/wine-faults.log ]; then
    echo "=== Wine's own faults, worked around by asking again"
    cat build/windows/wine-faults.log
fi
echo
if ((${#failed[@]})); then
    echo "FAILED: ${failed[*]}"
    exit 1
fi
echo "All test steps passed."
