#!/usr/bin/env bash
# The Windows program from its zip, under Wine on a virtual X server: it starts on the shipped
# data, Space draws a prize, the results are saved from the context menu, the close question
# is answered Yes and the program's process is gone within two seconds; started again with
# stop by key, a spin stopped by Space ends the same way. The saved results, the workbook and
# the draw journal hold the announcements.
# Usage: test_session_under_wine.sh dist/PrizeWheel-windows-x64.zip assets/
zip=$(realpath "$1")
source "$(dirname "$0")/../../../e2e/lib.sh" "$zip" "$2"

export WINEPREFIX=${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/prize-wheel/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
# Wine's media control interface opens an MP3 only on a sound device (and decodes it through
# GStreamer); a machine without a sound card gets ALSA's null device.
export ALSA_CONFIG_PATH=${ALSA_CONFIG_PATH:-$(realpath "$(dirname "$0")")/asound-null.conf}

start_display
# The zip as a user unpacks it: everything the program needs is inside.
unzip -q "$zip" -d "$E2E_DIR/unpacked"
E2E_PROGRAM_DIR=$(echo "$E2E_DIR"/unpacked/*)
[ -f "$E2E_PROGRAM_DIR/prize-wheel.exe" ] || fail "the zip holds no prize-wheel.exe"
mkdir -p "$WINEPREFIX"
timeout 300 "$wine" wineboot -i >"$E2E_DIR/wineboot.log" 2>&1 || fail "wineboot failed"

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
}

# Asks the draw screen to close and answers Yes: the process must be gone within two seconds.
close_under_wine() {
    focus_draw_screen
    xdo key alt+F4
    wait_window '^提示$' 100 >/dev/null || fail "no close question after Alt+F4 $1"
    yes_ends_program y "$1"
}

start_under_wine
screenshot draw-screen >/dev/null
# Wine sizes the maximised window itself: the menu opens at its own bottom-right corner.
read -r E2E_CLIENT_X E2E_CLIENT_Y client_w client_h < <(window_geometry "$E2E_WINDOW")
E2E_WIDTH=$client_w
E2E_HEIGHT=$((E2E_CLIENT_Y + client_h))

focus_draw_screen
xdo key space
# A spin lasts a few seconds; under Wine on a busy machine it is given well over that.
sleep "${WINE_SPIN_SECONDS:-20}"
screenshot after-prize >/dev/null
save_results
names=$(check_saved_announcements 1)
echo "prize won under Wine: $names"

# The close question, answered Yes, ends the program after the celebration and the save.
close_under_wine "after a spin, its celebration and a save"

# Stop by key: Space starts a spin that turns until Space is pressed again.
set_setting kongzhimoshi 2
set_setting tingzhimoshi 1
printf 'buchuxian=1,2,3,4,5,6,7\r\n' >>"$E2E_PROGRAM_DIR/data/opt.ini"
start_under_wine
focus_draw_screen
xdo key space
sleep 3
xdo key space
sleep "${WINE_SPIN_SECONDS:-20}"
screenshot after-key-stop >/dev/null
close_under_wine "after a key-stop spin"

# The journal: the start, the announcement of the prize saved above, the save and the end,
# then the second run's start, its prize (the one not kept out) and end, in that order, as
# UTF-8 rows the spreadsheet programs open.
/usr/bin/python3 - "$E2E_PROGRAM_DIR/摇奖记录.csv" "$names" "$(prize_names | sed -n 8p)" <<'PY' || fail "the journal under Wine is not as expected"
import csv, io, sys
rows = list(csv.reader(io.StringIO(open(sys.argv[1], "rb").read().decode("utf-8-sig"), newline="")))
events = [r[2] for r in rows[1:]]
assert events == ["启动", "中奖", "保存", "退出", "启动", "中奖", "退出"], events
assert rows[2][8] == sys.argv[2], rows[2]
assert rows[6][8] == sys.argv[3], rows[6]
PY
/usr/bin/python3 - "$E2E_PROGRAM_DIR/中奖信息.xlsx" "$names" <<'PY' || fail "the workbook under Wine is not as expected"
import sys, openpyxl
sheet = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
assert sheet.cell(2, 3).value == sys.argv[2], sheet.cell(2, 3).value
PY
finish "session under Wine ok"
