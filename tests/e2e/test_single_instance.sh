#!/usr/bin/env bash
# One program at a time per program folder, with the real program:
# - started again in its folder while it runs, while another program has the keyboard, while
#   the program of another folder (which runs beside it) covers it, and while minimised: the
#   later start ends, having written nothing, and the running draw screen comes to the front,
#   active, as it was (maximised); the journal holds one start;
# - killed (SIGKILL) after a prize: the next start runs and offers to continue; started again
#   while that question waits, the question comes to the front.
source "$(dirname "$0")/lib.sh" "$@"

journal=$E2E_PROGRAM_DIR/摇奖记录.csv
lock=$E2E_PROGRAM_DIR/.prize-wheel.lock

# Number of rows of a journal whose event is $2.
journal_rows() { # journal event
    /usr/bin/python3 - "$1" "$2" <<'PY'
import csv, io, sys
rows = list(csv.reader(io.StringIO(open(sys.argv[1], "rb").read().decode("utf-8-sig"), newline="")))
print(sum(1 for r in rows[1:] if len(r) > 2 and r[2] == sys.argv[2]))
PY
}

# Every file of the program folder with its size and time of change.
folder_state() {
    find "$E2E_PROGRAM_DIR" -printf '%P %s %T@\n' | sort
}

# The window at the top of the window manager's stacking order.
topmost_window() {
    xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/.*, //' | xargs printf '%d\n'
}

# Starts the program in the program folder once more and checks that it ends soon, having
# changed nothing in the folder, and that the window $2 (the draw screen unless given) is then
# the active one. $1 says what the start is tested after.
start_again_expecting() {
    local before after pid started elapsed active expected=${2:-$E2E_WINDOW}
    before=$(folder_state)
    started=$(date +%s%N)
    (cd "$E2E_PROGRAM_DIR" && exec ./prize-wheel) >>"$E2E_DIR/second.log" 2>&1 &
    pid=$!
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        fail "$1: the second start still runs after 5 s"
    fi
    wait "$pid" || fail "$1: the second start ended with status $?"
    elapsed=$((($(date +%s%N) - started) / 1000000))
    echo "$1: the second start ended after $elapsed ms"
    after=$(folder_state)
    [ "$before" = "$after" ] || fail "$1: the second start changed the folder:
$(diff <(echo "$before") <(echo "$after"))"
    [ "$(xdotool search --onlyvisible --name "^${WINDOW_TITLE}\$" | wc -l)" -eq "$draw_screens" ] ||
        fail "$1: a second draw screen opened in the folder"
    for _ in $(seq 30); do
        active=$(xdotool getactivewindow 2>/dev/null) || true
        [ "$active" = "$expected" ] && break
        sleep 0.1
    done
    [ "$active" = "$expected" ] ||
        fail "$1: the active window is \"$(xdotool getwindowname "$active" 2>/dev/null)\", not \"$(xdotool getwindowname "$expected")\""
    program_running || fail "$1: the running program ended"
}

# The same, and the draw screen is then the active window, at the top, maximised as it was.
start_again() {
    start_again_expecting "$1"
    [ "$(xdotool getwindowname "$(xdotool getactivewindow)")" = "$WINDOW_TITLE" ] ||
        fail "$1: the active window's name"
    [ "$(topmost_window)" = "$E2E_WINDOW" ] || fail "$1: the draw screen is not at the top"
    local state
    state=$(xprop -id "$E2E_WINDOW" _NET_WM_STATE)
    [[ $state == *_NET_WM_STATE_MAXIMIZED_VERT* && $state != *_NET_WM_STATE_HIDDEN* ]] ||
        fail "$1: the draw screen is not shown maximised as it was: $state"
}

# Starts the program in the folder $1 (a copy of the first) and waits for its draw screen;
# sets other_pid and other_window.
start_other() {
    (cd "$1" && exec ./prize-wheel) >>"$E2E_DIR/other.log" 2>&1 &
    other_pid=$!
    E2E_PIDS+=("$other_pid")
    other_window=""
    for _ in $(seq 100); do
        other_window=$(xdotool search --onlyvisible --pid "$other_pid" --name "^${WINDOW_TITLE}\$" 2>/dev/null | head -n1) || true
        [ -n "$other_window" ] && break
        kill -0 "$other_pid" 2>/dev/null || fail "the program in $1 ended at start"
        sleep 0.1
    done
    [ -n "$other_window" ] || fail "the program in $1 showed no draw screen"
    sleep 1.5
}

draw_screens=1 # the folders' draw screens that should be shown
start_display
lay_out_program_folder
start_program
[ -e "$lock" ] || fail "the running program holds no lock file"

# Another program has the keyboard (its window below the draw screen, which stays on top).
xmessage -geometry 1600x900+100+80 "another program" &
E2E_PIDS+=($!)
cover=$(wait_window '^xmessage$' 50) || fail "the covering window did not appear"
xdo windowactivate --sync "$cover" >/dev/null 2>&1 || true
[ "$(xdotool getactivewindow)" = "$cover" ] || fail "the other program did not get the keyboard"
start_again "another program has the keyboard"

# The program of another folder runs beside it, on top and with the keyboard.
other_dir=$E2E_DIR/program2
mkdir -p "$other_dir"
cp -r "$E2E_ASSETS"/data "$E2E_ASSETS"/pic "$E2E_ASSETS"/sound "$E2E_BINARY" "$other_dir"/
start_other "$other_dir"
draw_screens=2
xdo windowactivate --sync "$other_window" >/dev/null 2>&1 || true
[ "$(xdotool getactivewindow)" = "$other_window" ] || fail "the other folder's draw screen did not get the keyboard"
[ "$(topmost_window)" = "$other_window" ] || fail "the other folder's draw screen is not at the top"
start_again "covered by the program of another folder"
kill -0 "$other_pid" 2>/dev/null || fail "the program in the other folder ended"
[ "$(journal_rows "$other_dir/摇奖记录.csv" 启动)" -eq 1 ] || fail "the other folder's journal holds no start"

# Coming back from minimised is where the maximised state can get lost: a few times over.
for round in 1 2 3 4 5; do
    xdo windowminimize --sync "$E2E_WINDOW" >/dev/null 2>&1 || xdo windowminimize "$E2E_WINDOW"
    sleep 0.5
    [[ $(xprop -id "$E2E_WINDOW" _NET_WM_STATE) == *_NET_WM_STATE_HIDDEN* ]] || fail "the draw screen did not minimise"
    start_again "minimised ($round)"
done
# The keyboard is the draw screen's: Space draws a prize.
spin_with space
[ "$(journal_rows "$journal" 启动)" -eq 1 ] || fail "the journal holds $(journal_rows "$journal" 启动) starts, expected 1"

# Killed with a prize unsaved: its lock stays behind and does not block the next start.
kill -KILL "$E2E_PROGRAM_PID"
wait "$E2E_PROGRAM_PID" 2>/dev/null || true
[ -e "$lock" ] || fail "the killed program left no lock file: the takeover is not tested"
start_program
# Started again while the question to continue waits, behind another program's window: the
# question comes to the front with the keyboard.
question=$(wait_window '^提示$' 50) || fail "no question to continue after the kill"
xdo windowactivate --sync "$cover" >/dev/null 2>&1 || true
[ "$(xdotool getactivewindow)" = "$cover" ] || fail "the other program did not get the keyboard"
start_again_expecting "the question to continue waits" "$question"
answer_notice Return "no question to continue after the kill"
program_running || fail "the program ended after continuing"
[ "$(journal_rows "$journal" 启动)" -eq 2 ] || fail "the journal holds $(journal_rows "$journal" 启动) starts after the restart, expected 2"
kill -0 "$other_pid" 2>/dev/null || fail "the program in the other folder ended"
[ "$(journal_rows "$other_dir/摇奖记录.csv" 启动)" -eq 1 ] || fail "the other folder's journal changed"
finish "one program per folder"
