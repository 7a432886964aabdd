# Shared steps of the end-to-end tests: a virtual X server with a window manager, a fresh
# program folder, and the real program driven with xdotool as a person would.
# Usage from a test: source lib.sh "$binary" "$assets"; then call the functions below.

set -euo pipefail

E2E_BINARY=$1
E2E_ASSETS=$2
E2E_WIDTH=${E2E_WIDTH:-1920}
E2E_HEIGHT=${E2E_HEIGHT:-1080}
E2E_DIR=$(mktemp -d /tmp/prize-wheel-e2e.XXXXXX)
E2E_PROGRAM_DIR=$E2E_DIR/program
E2E_SHOTS=${E2E_SHOTS:-$E2E_DIR/shots}
E2E_PIDS=()
WINDOW_TITLE='Quenlo通用转盘摇奖程序2013'
mkdir -p "$E2E_PROGRAM_DIR" "$E2E_SHOTS"

e2e_cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    [ -n "${E2E_KEEP:-}" ] || rm -rf "$E2E_DIR"
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts Xvfb on a free display and openbox on it.
start_display() {
    local n
    for n in $(seq 90 140); do
        [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break
    done
    export DISPLAY=:$n
    Xvfb "$DISPLAY" -screen 0 "${E2E_WIDTH}x${E2E_HEIGHT}x24" -nolisten tcp >"$E2E_DIR/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"
    openbox >"$E2E_DIR/openbox.log" 2>&1 &
    E2E_PIDS+=($!)
    sleep 1
}

# Lays out a program folder from the shipped assets and the built binary.
lay_out_program_folder() {
    cp -r "$E2E_ASSETS"/data "$E2E_ASSETS"/pic "$E2E_ASSETS"/sound "$E2E_PROGRAM_DIR"/
    [ -d "$E2E_ASSETS"/help ] && cp -r "$E2E_ASSETS"/help "$E2E_PROGRAM_DIR"/
    cp "$E2E_BINARY" "$E2E_PROGRAM_DIR"/prize-wheel
}

# Starts the program with the program folder as working folder, and waits for its window.
start_program() {
    (cd "$E2E_PROGRAM_DIR" && exec ./prize-wheel) >"$E2E_DIR/program.log" 2>&1 &
    E2E_PROGRAM_PID=$!
    E2E_PIDS+=($E2E_PROGRAM_PID)
    E2E_WINDOW=""
    for _ in $(seq 100); do
        E2E_WINDOW=$(xdotool search --name "^${WINDOW_TITLE}\$" 2>/dev/null | head -n1) || true
        [ -n "$E2E_WINDOW" ] && break
        sleep 0.1
    done
    [ -n "$E2E_WINDOW" ] || fail "the draw screen did not appear"
    sleep 1.5 # let it restore and paint
}

program_running() {
    kill -0 "$E2E_PROGRAM_PID" 2>/dev/null
}

# Waits for the program to end by itself, up to $1 seconds.
wait_program_end() {
    for _ in $(seq $((${1:-5} * 10))); do
        program_running || return 0
        sleep 0.1
    done
    return 1
}

stop_program() {
    kill "$E2E_PROGRAM_PID" 2>/dev/null || true
    wait "$E2E_PROGRAM_PID" 2>/dev/null || true
}

screenshot() {
    import -window root "$E2E_SHOTS/$1.png"
    echo "$E2E_SHOTS/$1.png"
}

# The colour of one pixel of a screenshot as "r,g,b".
pixel() {
    convert "$1" -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' -crop "1x1+$2+$3" info:
}

# Window ids of message boxes and dialogs other than the draw screen, newest last.
other_windows() {
    xdotool search --onlyvisible --name '.' 2>/dev/null | grep -vx "$E2E_WINDOW" || true
}

window_geometry() { # prints "x y w h"
    xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
        /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}

# Waits until a window whose name matches $1 is visible; prints its id.
wait_window() {
    local id
    for _ in $(seq ${2:-50}); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

setting() { # reads a key of data/opt.ini
    iconv -f GBK -t UTF-8 "$E2E_PROGRAM_DIR/data/opt.ini" | tr -d '\r' | sed -n "s/^$1=//p"
}

set_setting() { # key value
    local tmp=$E2E_DIR/opt.tmp
    iconv -f GBK -t UTF-8 "$E2E_PROGRAM_DIR/data/opt.ini" | tr -d '\r' |
        sed "s/^$1=.*/$1=$2/" | sed 's/$/\r/' | iconv -f UTF-8 -t GBK >"$tmp"
    mv "$tmp" "$E2E_PROGRAM_DIR/data/opt.ini"
}
