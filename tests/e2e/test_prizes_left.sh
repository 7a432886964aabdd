#!/usr/bin/env bash
# Quota mode with the prizes left shown (the shipped "shengyu_xianshi=1"): every stop counts
# the prize-name list down, a prize with none left is greyed; with the key at "0" the list
# stays as it was. Also takes the screenshot of the prizes left, in full screen as an evening
# on a projector runs.
source "$(dirname "$0")/lib.sh" "$@"

start_display
lay_out_program_folder
[ "$(setting shengyu_xianshi)" = 1 ] || fail "the shipped settings do not show the prizes left"
set_setting kongzhimoshi 3
set_setting quanping 1
# No confetti crossing the list: only the counts may change it.
set_setting zhongjiang_texiao 0
# A pool without the first prize and 2, 3, 5, … of the others, each stop angle inside its
# slot, 51 or more turns on.
: >"$E2E_PROGRAM_DIR/data/db.dat"
quantities=(0 2 3 5 8 10 15 20)
centres=(12 48 92 135 180 225 270 316)
for k in 0 1 2 3 4 5 6 7; do
    for i in $(seq "${quantities[k]}"); do
        printf '%d\r\n' $((centres[k] + 360 * (50 + i))) >>"$E2E_PROGRAM_DIR/data/db.dat"
    done
done

list_area() { client_area 345 433 "$(setting present_left)" "$(setting present_top)"; }
# One text row of the list (27-pixel font); rows from 0.
row_area() { client_area 345 30 "$(setting present_left)" $(($(setting present_top) + 31 * $1)); }
# White text pixels of a row of the list in a screenshot.
white_in_row() {
    colour_mask "$1" "$(row_area "$2")" '#FFFFFF' "$E2E_DIR/row-mask.png"
    white_pixels "$E2E_DIR/row-mask.png"
}

start_program
xdo mousemove $((E2E_WIDTH - 1)) $((E2E_HEIGHT - 1))
shot=$(screenshot quota-start)
[ "$(white_in_row "$shot" 0)" -lt 20 ] || fail "the first prize, none of it in the pool, is not greyed"
[ "$(white_in_row "$shot" 1)" -gt 200 ] || fail "the second prize, two in the pool, is not white"
for n in 1 2 3 4 5 6; do
    list=$(grab_area "list-before-$n" "$(list_area)")
    spin_with Next
    sleep 0.3
    [ "$(differing_pixels "$list" "$(grab_area "list-after-$n" "$(list_area)")")" -gt 20 ] ||
        fail "stop $n did not count the prize-name list down"
done
screenshot prizes-left >/dev/null

# Without the key the list shows the names alone and a stop leaves it as it was.
stop_program
rm -f "$E2E_PROGRAM_DIR/摇奖记录.csv"
set_setting shengyu_xianshi 0
start_program
xdo mousemove $((E2E_WIDTH - 1)) $((E2E_HEIGHT - 1))
shot=$(screenshot quota-without-counts)
[ "$(white_in_row "$shot" 0)" -gt 200 ] || fail "without the key the first prize is still greyed"
list=$(grab_area list-without-counts "$(list_area)")
spin_with Next
sleep 0.3
[ "$(differing_pixels "$list" "$(grab_area list-without-after "$(list_area)")")" -le 20 ] ||
    fail "without the key a stop changed the prize-name list"
finish "prizes left ok"
