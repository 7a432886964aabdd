#!/usr/bin/env bash
# The celebration on the shipped data: after a stop the prize shows large in the middle of the
# screen in the title's colour, and is gone five seconds later; Space during it starts the next
# spin and a right-click during it opens the context menu. Takes the celebration's screenshot.
source "$(dirname "$0")/lib.sh" "$@"

start_display
lay_out_program_folder
[ "$(setting zhongjiang_texiao)" = 1 ] || fail "the shipped data does not show the celebration"
start_program
colour=$(title_colour)
middle=$(client_area 1600 400 160 $((E2E_CLIENT_H / 2 - 200)))
text_pixels() { # screenshot
    colour_mask "$1" "$middle" "$colour" "$E2E_DIR/middle-mask.png"
    white_pixels "$E2E_DIR/middle-mask.png"
}
rest=$(text_pixels "$(screenshot rest)")

spin_with space
sleep 0.5
shown=$(text_pixels "$(screenshot celebration)")
[ "$shown" -gt $((rest + 5000)) ] ||
    fail "no large prize text in the middle after the stop ($shown pixels of the title colour, $rest at rest)"
sleep 5
gone=$(text_pixels "$(screenshot after-celebration)")
[ "$gone" -le $((rest + 500)) ] || fail "the celebration is still there 5.5 s after the stop ($gone pixels)"

# During the next one: the context menu, then Space.
spin_with space
sleep 0.5
open_context_menu
xdo key Escape
sleep 0.3
spin_with space 8
program_running || fail "the program ended"
save_results
check_saved_announcements 3 >/dev/null
finish "celebration ok"
