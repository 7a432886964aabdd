#!/usr/bin/env bash
# Start-up of the real program to its first frame with a journal of 100 000 rows in its
# folder against the same program without one: the median of N runs each, under a virtual X
# server, and their ratio (goal: within 10 %); and the time the check of that journal's chain
# takes. The journal's last run is saved, so nothing is
# asked; every start appends its own start row, as it would at an event.
# Usage: bench/journal_startup_bench.sh [build dir, default build-bench] [runs, default 10] [rows]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build-bench}")
runs=${2:-10}
rows=${3:-100000}
driver=$build/bench/bench_startup_driver
[ -x "$build/program/prize-wheel" ] && [ -x "$driver" ] || {
    echo "build $build first (targets prize-wheel program-folder bench_startup_driver)" >&2
    exit 2
}

work_prefix=pw-journal-startup
source bench/xvfb.sh

cp -r "$build/program" "$work/program"
rm -f "$work/program/摇奖记录.csv"
"$driver" --runs "$runs" --cwd "$work/program" --label without -- ./prize-wheel | tee "$work/without.txt"

# A chained journal of many earlier runs, the last one saved.
/usr/bin/python3 - "$work/program/摇奖记录.csv" "$rows" <<'PY'
import hashlib, sys
path, rows = sys.argv[1], int(sys.argv[2])
out = bytearray(b"\xef\xbb\xbf" + "时间,运行,事件,模式,种子,抽取值,停止角度,扇区,奖品,说明,校验\r\n".encode())
check = b""
for i in range(rows):
    run = "2027-01-%02dT19:00:00.000+08:00" % (1 + (i // 5000) % 28)
    t = "2027-01-%02dT20:%02d:%02d.%03d+08:00" % (1 + (i // 5000) % 28, i // 3600 % 60, i // 60 % 60, i % 1000)
    if i == rows - 1:
        fields = [t, run, "保存", "", "", "", "", "", "", "中奖信息.rtf 中奖信息.xlsx"]
    else:
        e = 16560 + i % 11857
        fields = [t, run, "中奖", "3", str(i * 2654435761 % 2**32), str(e), str(-e), "1", "特等奖：笔记本电脑", ""]
    part = ("".join(f + "," for f in fields)).encode()
    check = hashlib.sha256(check + part).hexdigest().encode()
    out += part + check + b"\r\n"
open(path, "wb").write(out)
PY
ls -l "$work/program/摇奖记录.csv" >&2
# The check of its chain, which the program runs on a thread of its own after the first frame.
[ ! -x "$build/bench/bench_journal_check" ] || "$build/bench/bench_journal_check" "$work/program/摇奖记录.csv"
"$driver" --runs "$runs" --cwd "$work/program" --label with -- ./prize-wheel | tee "$work/with.txt"

field() { sed -n "s/^STARTUP .* $2=\([0-9.]*\).*/\1/p" "$1"; }
awk -v w="$(field "$work/with.txt" median_ms)" -v wo="$(field "$work/without.txt" median_ms)" \
    'BEGIN { printf "JOURNAL_STARTUP ratio=%.3f with_ms=%.1f without_ms=%.1f\n", w / wo, w, wo }'
