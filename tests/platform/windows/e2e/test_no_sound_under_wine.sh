#!/usr/bin/env bash
# The Windows program from its zip, under Wine with no sound device at all: Space draws prize
# after prize silently, the notice that there is no sound device comes up once, at start-up
# before any spin, the saved results and the journal hold every announcement, and Yes to the close
# question ends the program. Without the spin clip each start still reports the clip's error;
# that run's start-up tells the missing device again.
# Usage: test_no_sound_under_wine.sh dist/PrizeWheel-windows-x64.zip assets/
zip=$(realpath "$1")
source "$(dirname "$0")/../../../e2e/lib.sh" "$zip" "$2"

export WINEPREFIX=${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/prize-wheel/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No audio driver: Wine counts no wave output, as a PC whose sound device is off or unplugged.
export WINEDLLOVERRIDES="mscoree,mshtml=;winealsa.drv,winepulse.drv,wineoss.drv=d"
unset ALSA_CONFIG_PATH
wine=/usr/lib/wine/wine64
APP_TITLE='Quenlo通用转盘摇奖'
spins=3
spin_seconds=${WINE_SPIN_SECONDS:-20}

start_under_wine() {
    (cd "$E2E_PROGRAM_DIR" && exec "$wine" ./prize-wheel.exe) >>"$E2E_DIR/program.log" 2>&1 &
    E2E_PROGRAM_PID=$!
    E2E_PIDS+=("$E2E_PROGRAM_PID")
    E2E_WINDOW=""
    for _ in $(seq 600); do
        E2E_WINDOW=$(xdotool search --name "^${WINDOW_TITLE}\$" 2>/dev/null | head -n1) || true
        [ -n "$E2E_WINDOW" ] && break
        program_running || fail "the program ended at start: $(cat "$E2E_DIR/program.log")"
        sleep 0.1
    done
    [ -n "$E2E_WINDOW" ] || fail "the draw screen did not appear"
    sleep 3
    # Wine sizes the maximised window itself: the menu opens at its own bottom-right corner.
    read -r E2E_CLIENT_X E2E_CLIENT_Y client_w client_h < <(window_geometry "$E2E_WINDOW")
    E2E_WIDTH=$client_w
    E2E_HEIGHT=$((E2E_CLIENT_Y + client_h))
}

notice_up() {
    xdotool search --onlyvisible --name '^提示$' >/dev/null 2>&1
}

start_display
unzip -q "$zip" -d "$E2E_DIR/unpacked"
E2E_PROGRAM_DIR=$(echo "$E2E_DIR"/unpacked/*)
[ -f "$E2E_PROGRAM_DIR/prize-wheel.exe" ] || fail "the zip holds no prize-wheel.exe"
mkdir -p "$WINEPREFIX"
timeout 300 "$wine" wineboot -i >"$E2E_DIR/wineboot.log" 2>&1 || fail "wineboot failed"
start_under_wine

# Told at start-up, before any spin.
close_start_up_notice() {
    local box
    box=$(wait_window '^提示$' 100) || fail "no notice at start-up without a sound device"
    screenshot "no-sound-notice-$1" >/dev/null
    xdo windowactivate --sync "$box" >/dev/null 2>&1 || true
    xdo key Return
    wait_window_gone '^提示$' 50 || fail "the notice did not close on Return"
}
close_start_up_notice first
for spin in $(seq 1 "$spins"); do
    focus_draw_screen
    xdo key space
    sleep "$spin_seconds"
    notice_up && fail "the notice came up again at spin $spin"
    xdotool search --onlyvisible --name "^${APP_TITLE}\$" >/dev/null 2>&1 &&
        fail "an error box came up at spin $spin"
done
screenshot after-prizes >/dev/null
save_results
names=$(check_saved_announcements "$spins")
echo "prizes won under Wine without sound: $(tr '\n' ' ' <<<"$names")"

focus_draw_screen
xdo key alt+F4
question=$(wait_window '^提示$' 100) || fail "no close question after Alt+F4"
xdo windowactivate --sync "$question" >/dev/null 2>&1 || true
xdo key y
wait_program_end 30 || fail "the program is still running after Yes to the close question"
/usr/bin/python3 - "$E2E_PROGRAM_DIR/摇奖记录.csv" "$names" <<'PY' || fail "the journal under Wine is not as expected"
import csv, io, sys
rows = list(csv.reader(io.StringIO(open(sys.argv[1], "rb").read().decode("utf-8-sig"), newline="")))
events = [r[2] for r in rows[1:]]
wins = sys.argv[2].split("\n")
assert events == ["启动"] + ["中奖"] * len(wins) + ["保存", "退出"], events
assert [r[8] for r in rows[1:] if r[2] == "中奖"] == wins, rows
PY

# Without the spin clip: the notice at start-up as in any run, then the clip's error at each
# start, and no notice with it.
rm "$E2E_PROGRAM_DIR/sound/摇奖中.mp3"
start_under_wine
close_start_up_notice missing-clip
for press in 1 2; do
    focus_draw_screen
    xdo key space
    box=$(wait_window "^${APP_TITLE}\$" 100) || fail "no error box at start $press without the spin clip"
    notice_up && fail "the notice came up for a missing clip"
    xdo windowactivate --sync "$box" >/dev/null 2>&1 || true
    xdo key Return
    wait_window_gone "^${APP_TITLE}\$" 50 || fail "the error box did not close on Return"
done
stop_program
finish "draw without a sound device under Wine ok"
