#!/usr/bin/env bash
# How many spin ticks per second the real program gets under a virtual X server, against the
# 100 its 10 ms timer asks for. Starts the built program on a copy of its program folder in
# fully random mode, presses Space a few times and times the ticks of each spin.
# Usage: bench/tick_rate.sh [build dir, default build-bench] [spins, default 8]
#
# The tick times come from the program itself when it writes them to PW_BENCH_TICK_LOG (one
# "<monotonic ns>" line per tick); until it does, from a preloaded library that logs every
# opening of the settings file, which each tick does twice in quick succession.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build-bench}")
spins=${2:-8}
binary=$build/program/prize-wheel
shim=$build/bench/bench_open_log.so
[ -x "$binary" ] && [ -f "$shim" ] || {
    echo "build $build first (targets prize-wheel program-folder bench_open_log)" >&2
    exit 2
}

work_prefix=pw-tick-rate
source bench/xvfb.sh # the script runs from the repository root

cp -r "$build/program" "$work/program"
sed -i 's/^kongzhimoshi=[^\r]*/kongzhimoshi=1/' "$work/program/data/opt.ini"
(cd "$work/program" && PW_BENCH_TICK_LOG="$work/ticks.log" PW_BENCH_OPEN_LOG="$work/opens.log" \
    LD_PRELOAD="$shim" exec ./prize-wheel) >"$work/program.log" 2>&1 &
window=""
for _ in $(seq 100); do
    window=$(xdotool search --name '^Quenlo通用转盘摇奖程序2013$' 2>/dev/null | head -n1) || true
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the draw screen did not appear" >&2; exit 1; }
sleep 2 # restore, first paint, and the focus keeper's first tick
xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
sleep 1.2

# Only what happens after this mark belongs to the spins; start-up reads the settings too.
python3 -c 'import time; print(time.monotonic_ns())' >"$work/mark"
for _ in $(seq "$spins"); do
    xdotool key space
    sleep 2 # a spin takes 61 to 90 ticks
done

python3 - "$work" <<'PYTHON'
import os, statistics, sys

work = sys.argv[1]

mark = int(open(os.path.join(work, "mark")).read())

def read(name):
    path = os.path.join(work, name)
    if not os.path.exists(path):
        return []
    return [t for t in (int(line) for line in open(path) if line.strip()) if t > mark]

def split_spins(times):
    spins, current = [], []
    for t in times:
        if current and t - current[-1] > 300_000_000:
            spins.append(current)
            current = []
        current.append(t)
    return spins + [current] if current else spins

spins, source = split_spins(read("ticks.log")), "the program's tick log"
if not spins:
    # A start opens the settings file three times and every tick of a fully random spin
    # twice (the stopping tick with the prize sound opened in between), so after the first
    # three opens of a spin, every other open starts a tick.
    spins = [s[3::2] for s in split_spins(read("opens.log"))]
    source = "settings file opens"
spins = [s for s in spins if len(s) >= 10]
if not spins:
    print("TICK_RATE no spin was seen; see", work)
    sys.exit(1)

intervals, count, duration = [], 0, 0
for s in spins:
    count += len(s) - 1
    duration += (s[-1] - s[0]) / 1e9
    intervals += [(b - a) / 1e6 for a, b in zip(s, s[1:])]
intervals.sort()
rate = count / duration
print(f"spins {len(spins)}, ticks per spin {[len(s) for s in spins]} (from {source})")
print(f"tick interval: mean {statistics.mean(intervals):.2f} ms, p50 {intervals[len(intervals)//2]:.2f} ms, "
      f"p99 {intervals[min(len(intervals)-1, int(len(intervals)*0.99))]:.2f} ms, max {intervals[-1]:.2f} ms")
print(f"TICK_RATE ticks_per_s={rate:.1f} requested=100")
PYTHON
