#!/usr/bin/env bash
# Space and Enter each start a spin on the shipped data (fully random mode); each spin ends in
# one announcement naming a prize, and the saved results hold exactly those announcements, in
# red. Also takes the screenshots of the draw screen at rest, spinning and after a prize.
source "$(dirname "$0")/lib.sh" "$@"

start_display
lay_out_program_folder
[ "$(setting kongzhimoshi)" = 1 ] || fail "the shipped data is not in fully random mode"
start_program

screenshot draw-screen >/dev/null
pointer_area="350x350+$((E2E_CLIENT_X + $(setting zhizhen_left)))+$((E2E_CLIENT_Y + $(setting zhizhen_top)))"
rest_pointer=$(grab_area rest-pointer "$pointer_area")
focus_draw_screen
before=$(grab_area before-first "$E2E_RESULTS_ROW")
xdo key space
# The pointer leaves its upright rest: the moment for the picture of a spin in progress.
moved=0
for _ in $(seq 40); do
    now=$(grab_area pointer-now "$pointer_area")
    [ "$(differing_pixels "$rest_pointer" "$now")" -gt 500 ] && { moved=1; break; }
    sleep 0.05
done
[ "$moved" = 1 ] || fail "the pointer did not move after Space"
mid=$(screenshot mid-spin)
wait_results_change "$before" 8 || fail "Space started a spin that ended in no result"
sleep 0.3
screenshot after-prize >/dev/null
# Only a shot whose results row is still the old one shows the spin in progress.
convert "$mid" -crop "$E2E_RESULTS_ROW" +repage "$E2E_SHOTS/mid-row.png"
[ "$(differing_pixels "$before" "$E2E_SHOTS/mid-row.png")" -le 20 ] ||
    echo "note: the spin had ended before the mid-spin screenshot was taken"

spin_with Return
program_running || fail "the program ended during the spins"

save_results
names=$(check_saved_announcements 2)
echo "prizes won: $(tr '\n' ' ' <<<"$names")"
unrtf --html "$E2E_PROGRAM_DIR/中奖信息.rtf" 2>/dev/null | grep -qi 'color="#ff0000"' ||
    fail "the saved results are not in red"
[ -z "$(other_windows)" ] || fail "a box is still open: $(other_windows | xargs -r -n1 xdotool getwindowname)"
finish "spin by keyboard ok"
