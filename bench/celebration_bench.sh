#!/usr/bin/env bash
# The celebration under a virtual X server at 1920 x 1080: frames a second and processor time
# while the confetti falls, and the next spin's ticks against spins without it.
# Usage: bench/celebration_bench.sh [build dir, default build-bench] [spins, default 4]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build-bench}")
binary=$build/bench/bench_celebration
[ -x "$binary" ] || { echo "build $build first (target bench_celebration)" >&2; exit 2; }
work_prefix=pw-celebration
source bench/xvfb.sh
QT_QPA_PLATFORM=xcb "$binary" "${2:-4}"
