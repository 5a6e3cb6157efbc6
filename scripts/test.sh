#!/usr/bin/env bash
# Runs every test: native unit tests under ASan+UBSan, the concurrency tests under TSan,
# the fuzzers for a bounded time, then the Windows tests and end-to-end tests under Wine
# and Xvfb. Installs what it needs first.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh || exit 1
source scripts/wine-env.sh
jobs=$(nproc)
fuzz_seconds=${BRISVALE_FUZZ_SECONDS:-20}
failed=()

step() { echo; echo "=== $*"; }
run() { "$@" || failed+=("$*"); }

step "setup: every command the scripts call comes from setup's packages"
run bash scripts/check-commands.sh --provided
run bash tests/setup/test_command_list.sh

step "native build (ASan + UBSan)"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRISVALE_SANITIZER=address >/dev/null &&
    cmake --build build/native -j"$jobs" || exit 1
run ctest --test-dir build/native --output-on-failure -j"$jobs"

step "native build (TSan) for the concurrency tests"
cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRISVALE_SANITIZER=thread >/dev/null &&
    cmake --build build/tsan -j"$jobs" || exit 1
run ctest --test-dir build/tsan --output-on-failure

step "fuzzers (libFuzzer, ${fuzz_seconds}s each)"
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBRISVALE_SANITIZER=address \
    -DBRISVALE_FUZZ=ON >/dev/null && cmake --build build/fuzz -j"$jobs" || exit 1
for fuzzer in build/fuzz/fuzz_*; do
    [ -x "$fuzzer" ] || continue
    corpus="build/fuzz/corpus-$(basename "$fuzzer")"
    mkdir -p "$corpus"
    seeds="tests/fuzz/seeds/$(basename "$fuzzer")"
    [ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null
    if "$fuzzer" -max_total_time="$fuzz_seconds" -print_final_stats=0 "$corpus" >"build/fuzz/$(basename "$fuzzer").log" 2>&1; then
        echo "$(basename "$fuzzer"): $(grep -c '' "build/fuzz/$(basename "$fuzzer").log") log lines, no crash"
    else
        tail -30 "build/fuzz/$(basename "$fuzzer").log"; failed+=("$fuzzer")
    fi
done

step "Windows build (MinGW-w64)"
cmake -S . -B build/windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null &&
    cmake --build build/windows -j"$jobs" || exit 1

step "Windows and end-to-end tests under Wine"
ensure_display 98
wine_prefix_init "$root/build/windows/wineprefix" unmanaged || { echo; echo "FAILED: the Wine prefix could not be set up"; exit 1; }
export BRISVALE_WINEPREFIX="$WINEPREFIX"
run ctest --test-dir build/windows --output-on-failure
wineserver -k 2>/dev/null

echo
if ((${#failed[@]})); then
    echo "FAILED: ${failed[*]}"
    exit 1
fi
echo "All test steps passed."
