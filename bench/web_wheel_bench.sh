#!/usr/bin/env bash
# The program as shipped against a web page's prize wheel, side by side under the same virtual
# X server at 1920 x 1080: processor time over ten spins, one a second (Space each second).
# The program is measured with the shipped settings (the celebration on) and once with the
# celebration off; the web wheel (bench/web_wheel/index.html, a 545-pixel canvas over the
# same background picture) in Chromium, all its processes counted.
# Usage: bench/web_wheel_bench.sh [build dir, default build-bench] [spins, default 10]
# Needs chromium (Debian's package) and pulseaudio.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build-bench}")
spins=${2:-10}
binary=$build/program/prize-wheel
[ -x "$binary" ] || { echo "build $build first (targets prize-wheel program-folder)" >&2; exit 2; }
command -v chromium >/dev/null || { echo "install chromium first" >&2; exit 2; }

work_prefix=pw-web-wheel
source bench/xvfb.sh
ticks=$(getconf CLK_TCK)

# A sound server whose only sink swallows the sound, so that the program plays its clips as on
# a machine with a sound card (and no box says there is none).
sound=$work/sound
mkdir -p -m 700 "$sound"
HOME=$sound XDG_RUNTIME_DIR=$sound pulseaudio -n --daemonize=no --use-pid-file=no \
    --exit-idle-time=-1 --load="module-null-sink sink_name=bench" \
    --load="module-native-protocol-unix socket=$sound/native auth-anonymous=1" \
    >"$work/pulseaudio.log" 2>&1 &
for _ in $(seq 100); do
    [ -S "$sound/native" ] && break
    sleep 0.05
done
export PULSE_SERVER=unix:$sound/native

# Processor time in clock ticks of a process and everything it started.
tree_ticks() {
    python3 - "$1" <<'PYTHON'
import os, sys
root = int(sys.argv[1])
parents, times = {}, {}
for pid in os.listdir("/proc"):
    if not pid.isdigit():
        continue
    try:
        fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    except OSError:
        continue
    parents[int(pid)] = int(fields[1])
    times[int(pid)] = int(fields[11]) + int(fields[12])
def inside(pid):
    while pid > 1:
        if pid == root:
            return True
        pid = parents.get(pid, 0)
    return False
print(sum(t for pid, t in times.items() if inside(pid)))
PYTHON
}

wait_window() {
    local window=""
    for _ in $(seq 150); do
        window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1) || true
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "no window named $1 appeared" >&2; exit 1; }
    sleep 3 # start-up work done, the first frames shown
    xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
    sleep 1
}

# Space once a second; prints the share of one core the process tree took meanwhile.
measure() {
    local pid=$1 before after
    before=$(tree_ticks "$pid")
    for _ in $(seq "$spins"); do
        xdotool key space
        sleep 1
    done
    after=$(tree_ticks "$pid")
    python3 -c "print(f'{100 * ($after - $before) / $ticks / $spins:.1f}')"
}

run_program() {
    rm -rf "$work/program"
    cp -r "$build/program" "$work/program"
    [ "$1" = shipped ] || sed -i 's/^zhongjiang_texiao=[^\r]*/zhongjiang_texiao=0/' "$work/program/data/opt.ini"
    (cd "$work/program" && exec ./prize-wheel) >"$work/program.log" 2>&1 &
    local pid=$!
    wait_window '^Quenlo通用转盘摇奖程序2013$'
    measure "$pid"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

run_web() {
    mkdir -p "$work/web"
    cp bench/web_wheel/index.html "$work/web/"
    cp "$build/program/pic/背景.png" "$work/web/"
    local sandbox=()
    [ "$(id -u)" -ne 0 ] || sandbox=(--no-sandbox)
    # PW_CHROMIUM_FLAGS adds flags (--disable-gpu, say) and PW_WEB_QUERY the page's query
    # (?turn=css), to try the web wheel at its cheapest.
    # shellcheck disable=SC2086
    chromium "${sandbox[@]}" ${PW_CHROMIUM_FLAGS:-} --user-data-dir="$work/chromium" --no-first-run \
        --no-default-browser-check --disable-extensions --kiosk --window-position=0,0 \
        --window-size=1920,1080 --app="file://$work/web/index.html${PW_WEB_QUERY:-}" >"$work/chromium.log" 2>&1 &
    local pid=$!
    wait_window '^web wheel'
    measure "$pid"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

if [ "${PW_WEB_ONLY:-}" = 1 ]; then
    echo "WEB_WHEEL web=$(run_web)"
    exit 0
fi
program=$(run_program shipped)
plain=$(run_program plain)
web=$(run_web)
echo "WEB_WHEEL program=$program program_without_celebration=$plain web=$web" \
    "ratio=$(python3 -c "print(f'{$program / $web:.2f}')") (goal <= 0.40)"
