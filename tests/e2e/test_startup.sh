#!/usr/bin/env bash
# The program starts maximised on the shipped data and fills the screen with its draw screen.
source "$(dirname "$0")/lib.sh" "$@"

start_display
lay_out_program_folder
start_program

read -r x y w h < <(window_geometry "$E2E_WINDOW")
echo "draw screen at $x,$y size ${w}x$h"
[ "$w" -ge $((E2E_WIDTH - 10)) ] || fail "window is $w wide, screen $E2E_WIDTH"
[ "$h" -ge $((E2E_HEIGHT - 80)) ] || fail "window is $h high, screen $E2E_HEIGHT"

shot=$(screenshot startup)
# The background is painted edge to edge: no pixel of the four corners of the client area is
# the black of an empty X screen.
for point in "5 $((y + 5))" "$((E2E_WIDTH - 6)) $((y + 5))" "5 $((E2E_HEIGHT - 6))" \
    "$((E2E_WIDTH - 6)) $((E2E_HEIGHT - 6))"; do
    read -r px py <<<"$point"
    colour=$(pixel "$shot" "$px" "$py")
    [ "$colour" != "0,0,0" ] || fail "pixel $px,$py is black: the screen is not filled"
done
# No error box came up during the restore.
[ -z "$(other_windows)" ] || fail "a window other than the draw screen is open: $(other_windows | xargs -r -n1 xdotool getwindowname)"
program_running || fail "the program ended"
echo "startup ok"
