#!/usr/bin/env bash
# The real program on a layout of three screens (Qt's offscreen platform, from a file): it opens
# on the remembered screen when that is connected, else on the primary screen, and without the
# key where it always did. Where it shows its elements tells the screen.
source "$(dirname "$0")/lib.sh" "$@"

cat >"$E2E_DIR/screens.json" <<'JSON'
{"screens": [
  {"name": "eDP-1", "x": 0, "y": 0, "width": 1366, "height": 768, "logicalDpi": 96},
  {"name": "HDMI-1", "x": 1366, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96},
  {"name": "DP-2", "x": 3286, "y": 0, "width": 1280, "height": 1024, "logicalDpi": 96}
]}
JSON
export QT_QPA_PLATFORM=offscreen:configfile=$E2E_DIR/screens.json
export XDG_RUNTIME_DIR=$E2E_DIR/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS
lay_out_program_folder

# Starts the program with xianshiping set to $1 (or without the key when $1 is "-") and prints
# the left edge of the wheel as the program reports it.
wheel_left() {
    local report=$E2E_DIR/geometry.txt pid left=""
    sed -i '/^xianshiping=/d' "$E2E_PROGRAM_DIR/data/opt.ini"
    [ "$1" = - ] || printf 'xianshiping=%s\r\n' "$1" >>"$E2E_PROGRAM_DIR/data/opt.ini"
    rm -f "$report"
    (cd "$E2E_PROGRAM_DIR" && PRIZE_WHEEL_GEOMETRY_REPORT=$report exec ./prize-wheel) \
        >>"$E2E_DIR/program.log" 2>&1 &
    pid=$!
    for _ in $(seq 100); do
        [ -s "$report" ] && left=$(awk '$1 == "wheelImage" {print $2}' "$report")
        [ -n "$left" ] && break
        sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo "$left"
}

# remembered  lowest left  highest left (of the wheel, whose scene is centred on its screen).
# The offscreen platform lists the file's screens by name: DP-2 comes first and is the primary.
# Without the key the window opens where it always did, at the top left of the desktop.
while read -r remembered low high; do
    left=$(wheel_left "$remembered")
    [ -n "$left" ] || fail "no geometry report with xianshiping=$remembered"
    [ "$left" -ge "$low" ] && [ "$left" -lt "$high" ] ||
        fail "with xianshiping=$remembered the wheel is at x=$left, not on the screen from $low to $high"
done <<'CASES'
HDMI-1 1366 3286
DP-2 3286 4566
eDP-1 0 1366
VGA-1 3286 4566
- 0 1366
CASES
finish "start screen ok"
