#!/usr/bin/env bash
# Stop by key in no-big-prize mode: Space starts a spin that keeps turning with no result
# until Space (or Enter) is pressed again; the spin then ends on the one prize not kept out.
source "$(dirname "$0")/lib.sh" "$@"

start_display
lay_out_program_folder
set_setting kongzhimoshi 2
set_setting tingzhimoshi 1
printf 'buchuxian=1,2,3,4,5,6,7\r\n' >>"$E2E_PROGRAM_DIR/data/opt.ini"
start_program

focus_draw_screen
before=$(grab_area before-spin "$E2E_RESULTS_ROW")
xdo key space
# An automatic spin is over in about a second; this one must still be turning after two.
sleep 2
now=$(grab_area still-turning "$E2E_RESULTS_ROW")
[ "$(differing_pixels "$before" "$now")" -le 20 ] || fail "the spin ended without the stop key"
program_running || fail "the program ended during the spin"
xdo key space
wait_results_change "$before" 8 || fail "Space did not stop the spin"

# Enter starts and stops as well.
sleep 1
before=$(grab_area before-enter "$E2E_RESULTS_ROW")
xdo key Return
sleep 1.5
now=$(grab_area still-turning-enter "$E2E_RESULTS_ROW")
[ "$(differing_pixels "$before" "$now")" -le 20 ] || fail "the Enter spin ended without the key"
xdo key Return
wait_results_change "$before" 8 || fail "Enter did not stop the spin"

save_results
while IFS= read -r name; do
    [ "$name" = "$(prize_names | sed -n 8p)" ] || fail "a spin ended on a prize kept out: $name"
done < <(check_saved_announcements 2)
[ -z "$(other_windows)" ] || fail "a box is still open: $(other_windows | xargs -r -n1 xdotool getwindowname)"
finish "stop by key ok"
