#!/usr/bin/env bash
# No sound server on the machine: the notice that there is no sound device comes up once, at
# start-up before any spin; Space then draws prize after prize silently without a box; the
# journal and the saved results hold every announcement. A missing spin clip is still reported
# at each start, with no spin and no notice with it (its run's start-up tells the notice).
source "$(dirname "$0")/lib.sh" "$@"

# No sound server: the program is pointed at an address where none listens, whatever the
# machine runs otherwise.
E2E_SOUND=none
APP_TITLE='Quenlo通用转盘摇奖'
spins=4

start_display
lay_out_program_folder
[ "$(setting kongzhimoshi)" = 1 ] || fail "the shipped data is not in fully random mode"
start_program

# Start-up: the notice, with no spin pressed.
close_start_up_notice() {
    local box
    box=$(wait_window '^提示$' 50) || fail "no notice at start-up without a sound server"
    screenshot "no-sound-notice-$1" >/dev/null
    xdo windowactivate --sync "$box" >/dev/null 2>&1 || true
    xdo key Return
    wait_window_gone '^提示$' 30 || fail "the notice did not close on Return"
}
close_start_up_notice first

# Every start: the spin turns at once, and no box at all.
for _ in $(seq 1 "$spins"); do
    spin_with space
    sleep 0.3
    [ -z "$(other_windows)" ] ||
        fail "a box came up at a later spin: $(other_windows | xargs -r -n1 xdotool getwindowname)"
done
program_running || fail "the program ended during the spins"
save_results
names=$(check_saved_announcements "$spins")
echo "prizes won without sound: $(tr '\n' ' ' <<<"$names")"

# Closed with Yes; the journal holds the start, every announcement as saved, the save, the end.
ask_to_close
xdo key y
wait_program_end 10 || fail "the program is still running after Yes to the close question"
/usr/bin/python3 - "$E2E_PROGRAM_DIR/摇奖记录.csv" "$names" <<'PY' || fail "the journal is not as expected"
import csv, io, sys
rows = list(csv.reader(io.StringIO(open(sys.argv[1], "rb").read().decode("utf-8-sig"), newline="")))
events = [r[2] for r in rows[1:]]
wins = sys.argv[2].split("\n")
assert events == ["启动"] + ["中奖"] * len(wins) + ["保存", "退出"], events
assert [r[8] for r in rows[1:] if r[2] == "中奖"] == wins, rows
PY

# Without the spin clip: the error at each start, as with sound, and neither spin nor notice.
rm "$E2E_PROGRAM_DIR/sound/摇奖中.mp3"
start_program
close_start_up_notice missing-clip
before=$(grab_area before-missing "$E2E_RESULTS_ROW")
for press in 1 2; do
    focus_draw_screen
    xdo key space
    box=$(wait_window "^${APP_TITLE}\$" 50) || fail "no error box at start $press without the spin clip"
    xdotool search --onlyvisible --name '^提示$' >/dev/null 2>&1 &&
        fail "the notice came up for a missing clip"
    xdo windowactivate --sync "$box" >/dev/null 2>&1 || true
    xdo key Return
    wait_window_gone "^${APP_TITLE}\$" 30 || fail "the error box did not close on Return"
done
sleep 1
now=$(grab_area after-missing "$E2E_RESULTS_ROW")
[ "$(differing_pixels "$before" "$now")" -le 20 ] || fail "a spin without its clip gave a result"
[ -z "$(other_windows)" ] || fail "a box is still open: $(other_windows | xargs -r -n1 xdotool getwindowname)"
finish "draw without a sound device ok"
