#!/usr/bin/env bash
# Builds Prize Wheel and runs every test:
#   1. unit and widget tests, and the end-to-end tests that drive the real program under a
#      virtual X server, on the normal build (build/);
#   2. the formatting check;
#   3. the unit and widget tests again under AddressSanitizer and UndefinedBehaviorSanitizer
#      (build-asan/);
#   4. each fuzz target for a short while (build-fuzz/; fuzz/run_fuzzers.sh runs longer);
#   5. the Windows build's tests under Wine, when Qt for Windows is cached on the machine.
# Pass --quick to run only step 1.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
jobs=$(nproc)

section() { printf '\n===== %s (%s)\n' "$1" "$(date +%T)"; }

section "build and test"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
[ "${1:-}" = --quick ] && exit 0

section "formatting"
scripts/check-format.sh

section "sanitizers"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DPW_SANITIZE=ON >/dev/null
cmake --build build-asan -j"$jobs"
PW_SOAK_POOL=160 PW_KILL_RUNS=30 ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE 'e2e|install'

section "fuzzing"
fuzz/run_fuzzers.sh "${PW_FUZZ_SECONDS:-10}"

section "Windows build under Wine"
# Qt for Windows takes the better part of an hour to build, so only a machine that has it
# cached (scripts/build-windows.sh --qt-only) runs these.
qt_mingw=${PW_QT_MINGW_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/prize-wheel/qt6-mingw}
if [ -f "$qt_mingw/.complete" ]; then
    scripts/build-windows.sh --tests
    scripts/test-windows.sh
else
    echo "SKIPPED the Windows tests: no Qt for Windows in $qt_mingw" \
        "(scripts/build-windows.sh --qt-only builds it)"
fi
section "all passed"
