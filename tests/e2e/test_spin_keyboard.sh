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
focus_draw_screen
before=$(grab_area before-first "$E2E_RESULTS_ROW")
xdo key space
# Right after the key the pointer is on its way: the picture of a spin in progress.
mid=$(screenshot mid-spin)
wait_results_change "$before" 8 || fail "Space started no spin that ended in a result"
sleep 0.3
after=$(screenshot after-prize)
# The pointer stands somewhere else than at rest (upright) once it has spun: in one of the
# shots taken while spinning or after the stop, the hub's surroundings differ.
pointer_area="350x350+$((E2E_CLIENT_X + $(setting zhizhen_left)))+$((E2E_CLIENT_Y + $(setting zhizhen_top)))"
rest_pointer=$E2E_SHOTS/rest-pointer.png
convert "$E2E_SHOTS/draw-screen.png" -crop "$pointer_area" +repage "$rest_pointer"
moved=0
for shot in "$mid" "$after"; do
    convert "$shot" -crop "$pointer_area" +repage "$E2E_SHOTS/pointer-now.png"
    [ "$(differing_pixels "$rest_pointer" "$E2E_SHOTS/pointer-now.png")" -gt 500 ] && moved=1
done
[ "$moved" = 1 ] || fail "the pointer did not move during the first spin"

spin_with Return
program_running || fail "the program ended during the spins"

save_results
names=$(check_saved_announcements 2)
echo "prizes won: $(echo $names)"
unrtf --html "$E2E_PROGRAM_DIR/中奖信息.rtf" 2>/dev/null | grep -qi 'color="#ff0000"' ||
    fail "the saved results are not in red"
[ -z "$(other_windows)" ] || fail "a box is still open: $(other_windows | xargs -r -n1 xdotool getwindowname)"
finish "spin by keyboard ok"
