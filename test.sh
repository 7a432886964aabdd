#!/usr/bin/env bash
# Builds Prize Wheel and runs every test:
#   1. unit and widget tests, and the end-to-end tests that drive the real program under a
#      virtual X server, on the normal build (build/);
#   2. the formatting check;
#   3. the unit and widget tests again under AddressSanitizer and UndefinedBehaviorSanitizer
#      (build-asan/);
#   4. each fuzz target for a short while (build-fuzz/; fuzz/run_fuzzers.sh runs longer);
#   5. the Windows build: Qt for Windows built into the cache when it is not there yet, the
#      program and its tests cross-built, and the tests and a session run under Wine.
# Pass --quick to run only step 1. At its end it prints the time each part took.
set -euo pipefail
cd "$(dirname "$0")"
section() { printf '\n===== %s (%s)\n' "$1" "$(date +%T)"; }

# Each part's time, printed at the end whether the run passes or fails.
parts=()
part_name=""
part_started=$SECONDS
part() {
    [ -n "$part_name" ] && parts+=("$part_name|$((SECONDS - part_started))")
    part_name=$1
    part_started=$SECONDS
    section "$1"
}
print_times() {
    local status=$? entry total=0
    [ -n "$part_name" ] && parts+=("$part_name|$((SECONDS - part_started))")
    printf '\n===== time taken\n'
    for entry in "${parts[@]}"; do
        printf '  %-40s %4d:%02d\n' "${entry%|*}" $((${entry#*|} / 60)) $((${entry#*|} % 60))
        total=$((total + ${entry#*|}))
    done
    printf '  %-40s %4d:%02d\n' "total" $((total / 60)) $((total % 60))
    exit "$status"
}
trap print_times EXIT

part "packages"
scripts/install-deps.sh
jobs=$(nproc)
# Compilations are cached beside Qt for Windows, outside the work tree, so a later run (a
# fresh clone included) recompiles only what changed. Qt itself is built without it.
export CCACHE_DIR=${CCACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/prize-wheel/ccache}
export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache

part "build and test"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
[ "${1:-}" = --quick ] && exit 0

part "formatting"
scripts/check-format.sh

part "sanitizers"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DPW_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
PW_SOAK_POOL=160 PW_KILL_RUNS=30 ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE 'e2e|install'

part "fuzzing"
fuzz/run_fuzzers.sh "${PW_FUZZ_SECONDS:-10}"

# Qt for Windows is built into a cache outside the work tree when it is not there yet (the
# better part of an hour on two cores), and reused after.
part "Qt for Windows"
scripts/build-windows.sh --qt-only
part "Windows build"
scripts/build-windows.sh --tests
part "Windows tests under Wine"
scripts/test-windows.sh
section "all passed"
