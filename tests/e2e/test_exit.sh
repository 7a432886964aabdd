#!/usr/bin/env bash
# Closing ends the program: its process is gone within two seconds of Yes to the close
# question, right after the start, and while the celebration of a spin stopped by key still
# plays after a spin and a save. The window carries the program's icon.
source "$(dirname "$0")/lib.sh" "$@"

start_display
lay_out_program_folder

start_program
# The window's icon: the launcher's picture in the sizes window systems show.
icon_sizes=$(xprop -id "$E2E_WINDOW" -f _NET_WM_ICON 32c _NET_WM_ICON | /usr/bin/python3 -c '
import sys
text = sys.stdin.read()
v = [int(x) for x in text.split("=", 1)[1].replace(",", " ").split()] if "=" in text else []
i, sizes = 0, []
while i + 1 < len(v):
    sizes.append("%dx%d" % (v[i], v[i + 1]))
    i += 2 + v[i] * v[i + 1]
print(" ".join(sizes))')
[ "$icon_sizes" = "16x16 24x24 32x32 48x48 64x64" ] ||
    fail "the window's icon is not offered in the sizes shown: \"$icon_sizes\""
ask_to_close
yes_ends_program Return "right after the start"

start_program
spin_with space
save_results
ask_to_close
yes_ends_program Return "after a spin and a save"

# Stop by key: Space starts a spin that turns until Space is pressed again.
set_setting kongzhimoshi 2
set_setting tingzhimoshi 1
printf 'buchuxian=1,2,3,4,5,6,7\r\n' >>"$E2E_PROGRAM_DIR/data/opt.ini"
start_program
focus_draw_screen
before=$(grab_area before-spin "$E2E_RESULTS_ROW")
xdo key space
sleep 1.5
xdo key space
wait_results_change "$before" 8 || fail "Space did not stop the spin"
# The celebration of that stop is still on the screen.
ask_to_close
yes_ends_program Return "during the celebration after a key-stop spin"
finish "the program ends at once on Yes ok"
