#!/usr/bin/env bash
# Builds the benchmarks (Release, in build-bench), runs all four and prints one markdown table
# of the figures against their goals. Needs Xvfb, openbox, xdotool and python3 for the two
# that drive the real program. The machine should be otherwise idle.
# Usage: bench/run_benchmarks.sh [startup runs, default 10] [spins, default 8]
set -euo pipefail
cd "$(dirname "$0")/.."
startup_runs=${1:-10}
spins=${2:-8}
build=build-bench
out=$build/bench-results
cmake -S . -B "$build" -DPW_BUILD_BENCHMARKS=ON -DPW_BUILD_TESTS=ON -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target bench_rotation bench_spin_tick bench_minimal_window \
    bench_startup_driver bench_open_log bench_hover_move bench_slow_flush prize-wheel program-folder
mkdir -p "$out"

echo "== rotation"
"$build/bench/bench_rotation" --benchmark_min_time=0.3 --benchmark_color=false | tee "$out/rotation.txt"
echo "== spin tick"
QT_QPA_PLATFORM=offscreen "$build/bench/bench_spin_tick" --benchmark_min_time=1 --benchmark_color=false 2>"$out/spin_tick.log" |
    tee "$out/spin_tick.txt"
echo "== hover moves, every flush 20 ms"
LD_PRELOAD="$PWD/$build/bench/bench_slow_flush.so" QT_QPA_PLATFORM=offscreen \
    "$build/bench/bench_hover_move" 2>"$out/hover_move.log" | tee "$out/hover_move.txt"
echo "== start-up"
bench/startup_bench.sh "$build" "$startup_runs" 2>"$out/startup.log" | tee "$out/startup.txt"
echo "== tick rate"
bench/tick_rate.sh "$build" "$spins" 2>"$out/tick_rate.log" | tee "$out/tick_rate.txt"

value() { # file, line tag, key
    sed -n "s/^$2.*[ ]$3=\([0-9.]*\).*/\1/p" "$out/$1" | tail -n1
}
pointer=$(sed -n 's/^RATIO_GEOMEAN pointer[^ ]* //p' "$out/rotation.txt")
overall=$(sed -n 's/^RATIO_GEOMEAN all //p' "$out/rotation.txt")
large=$(grep -E '^\| (700x700|1400x1400) ' "$out/rotation.txt" | awk -F'|' '{printf "%s%.2f", sep, $6; sep=", "}')
mean=$(value spin_tick.txt SPIN_TICK mean)
p50=$(value spin_tick.txt SPIN_TICK p50)
p99=$(value spin_tick.txt SPIN_TICK p99)
time_ratio=$(value startup.txt STARTUP_RATIO time)
memory_ratio=$(value startup.txt STARTUP_RATIO memory)
real_ms=$(value startup.txt STARTUP_RATIO real_ms)
minimal_ms=$(value startup.txt STARTUP_RATIO minimal_ms)
real_kb=$(value startup.txt STARTUP_RATIO real_kb)
minimal_kb=$(value startup.txt STARTUP_RATIO minimal_kb)
rate=$(value tick_rate.txt TICK_RATE ticks_per_s)
moves=$(value hover_move.txt HOVER_MOVE moves_per_s)
write_p99=$(value hover_move.txt HOVER_MOVE write_p99)
move_p99=$(value hover_move.txt HOVER_MOVE move_p99)

met() { # awk condition on x
    awk -v x="$1" "BEGIN { exit !($2) }" && echo yes || echo no
}
echo
echo "| figure | measured | goal | met? |"
echo "|---|---|---|---|"
printf '| turn of the shipped pointer, throughput ours/Qt (geometric mean of 5 angles) | %.2f | >= 2.0 | %s |\n' \
    "$pointer" "$(met "$pointer" 'x >= 2.0')"
printf '| turn of 700x700 and 1400x1400 pictures, throughput ours/Qt per angle | %s (all cases: %.2f) | - | - |\n' \
    "$large" "$overall"
printf '| spin tick with repaint on a 1920x1080 screen, p99 | %.2f ms (mean %.2f, p50 %.2f) | < 2 ms | %s |\n' \
    "$p99" "$mean" "$p50" "$(met "$p99" 'x < 2')"
printf '| start-up to first frame, real/minimal Qt program | %.2f (%.0f ms / %.0f ms) | <= 1.3 | %s |\n' \
    "$time_ratio" "$real_ms" "$minimal_ms" "$(met "$time_ratio" 'x <= 1.3')"
printf '| peak memory at first frame, real/minimal Qt program | %.2f (%.1f MiB / %.1f MiB) | <= 1.3 | %s |\n' \
    "$memory_ratio" "$(awk -v k="$real_kb" 'BEGIN{print k/1024}')" \
    "$(awk -v k="$minimal_kb" 'BEGIN{print k/1024}')" "$(met "$memory_ratio" 'x <= 1.3')"
printf '| spin ticks delivered per second under Xvfb (100 requested) | %.1f | >= 97 | %s |\n' \
    "$rate" "$(met "$rate" 'x >= 97')"
printf '| mouse moves over the pointer per second, every flush taking 20 ms | %.0f (move p99 %.2f ms) | >= 100 | %s |\n' \
    "$moves" "$move_p99" "$(met "$moves" 'x >= 100')"
printf '| the place write of one move, p99, every flush taking 20 ms | %.3f ms | < 0.2 ms | %s |\n' \
    "$write_p99" "$(met "$write_p99" 'x < 0.2')"
