#!/usr/bin/env bash
# The real program is killed (SIGKILL) at random moments while an operator keeps pressing
# Space, and started again each time; the question to continue is answered "是" (Return).
# After every kill the journal reads back as whole rows whose chain verifies, and after the
# last restart the counter of the continued draw covers every announcement the journal holds.
# PW_KILL_RUNS sets the number of kills (3 here; a few hundred for the long form).
source "$(dirname "$0")/lib.sh" "$@"

runs=${PW_KILL_RUNS:-3}
journal=$E2E_PROGRAM_DIR/摇奖记录.csv

# Checks the chain and prints the number of announcements since the last save.
check_journal() {
    /usr/bin/python3 - "$journal" <<'PY'
import hashlib, sys
data = open(sys.argv[1], "rb").read()
header = "\ufeff时间,运行,事件,模式,种子,抽取值,停止角度,扇区,奖品,说明,校验".encode()
lines = data.split(b"\r\n")
assert lines[0] == header, "header"
previous, torn, wins = b"", None, 0
for number, line in enumerate(lines[1:], start=2):
    if number == len(lines) + 0 and line == b"":
        break
    fields = line.split(b",")
    whole = len(fields) == 11 and len(fields[10]) == 64
    if not whole:
        assert torn is None, "line %d: two torn lines in a row" % number
        torn = number
        continue
    if torn is not None:
        assert fields[2] == "启动".encode(), "line %d torn, and no start row after it" % torn
        torn = None
    part = line[: line.rfind(b",") + 1]
    check = hashlib.sha256(previous + part).hexdigest().encode()
    assert check == fields[10], "line %d does not verify" % number
    previous = check
    event = fields[2].decode()
    if event == "中奖":
        wins += 1
    elif event == "保存":
        wins = 0
print(wins)
PY
}

start_display
lay_out_program_folder
for run in $(seq "$runs"); do
    start_program
    if [ "$run" -gt 1 ] && [ "$(check_journal)" -gt 0 ]; then
        answer_notice Return "no question to continue after the kill"
    fi
    focus_draw_screen
    presses=$((2 + RANDOM % 6))
    for _ in $(seq "$presses"); do
        xdo key space
        sleep "0.$((2 + RANDOM % 6))"
    done
    kill -KILL "$E2E_PROGRAM_PID"
    wait "$E2E_PROGRAM_PID" 2>/dev/null || true
    wins=$(check_journal) || fail "after kill $run the journal does not read back"
    echo "kill $run: $wins announcements to bring back"
done

# The last restart brings back the whole continued draw.
start_program
wins=$(check_journal)
if [ "$wins" -gt 0 ]; then
    answer_notice Return "no question to continue"
fi
sleep 1
program_running || fail "the program ended after continuing"
[ "$wins" -gt 0 ] || fail "no announcement was made in $runs runs"
finish "journal survives $runs kills, $wins announcements continued"
