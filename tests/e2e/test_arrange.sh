#!/usr/bin/env bash
# Arranging the draw screen with the mouse: the pointer (dragged partly out of the window, to
# a negative place, the wheel following it), the title, a prize picture and the prize-name
# list keep the places they were dragged to across a restart. Saving the results before any
# spin writes a results file without lines.
source "$(dirname "$0")/lib.sh" "$@"

start_display
lay_out_program_folder
start_program
rest=$(screenshot rest)

declare -A was
for key in zhizhen_left zhizhen_top biaoti_left biaoti_top pic1_left pic1_top present_left \
    present_top; do
    was[$key]=$(setting "$key")
done
old_hub=$(hub_area) old_title=$(title_area) colour=$(title_colour)
# A stretch of the wheel's rim below the pointer's square, where nothing else lies.
wheel_rim() {
    client_area 60 30 $(($(setting zhizhen_left) + 145)) $(($(setting zhizhen_top) + 395))
}
picture_middle() {
    client_area 30 30 $(($(setting pic1_left) + 15)) $(($(setting pic1_top) + 15))
}
name_list() {
    client_area 345 260 "$(setting present_left)" "$(setting present_top)"
}
old_rim=$(wheel_rim) old_picture=$(picture_middle) old_list=$(name_list)

drag_at() { # client x y of the press, dx dy
    drag $((E2E_CLIENT_X + $1)) $((E2E_CLIENT_Y + $2)) "$3" "$4"
}
# The pointer by a point on the right of its square, so that it can go to Left -35.
pointer_dx=$((-35 - was[zhizhen_left])) pointer_dy=100
drag_at $((was[zhizhen_left] + 330)) $((was[zhizhen_top] + 175)) $pointer_dx $pointer_dy
# The title near its top-left corner, down to the stage.
drag_at $((was[biaoti_left] + 40)) $((was[biaoti_top] + 20)) 150 800
# Prize picture 1 by its middle, and the name list by its first line.
drag_at $((was[pic1_left] + 30)) $((was[pic1_top] + 30)) 400 0
drag_at $((was[present_left] + 20)) $((was[present_top] + 10)) 1000 50

expect_setting() { # key value when
    [ "$(setting "$1")" = "$2" ] || fail "$1 is '$(setting "$1")' $3, expected $2"
}
check_places() { # when
    expect_setting zhizhen_left -35 "$1"
    expect_setting zhizhen_top $((was[zhizhen_top] + pointer_dy)) "$1"
    expect_setting biaoti_left $((was[biaoti_left] + 150)) "$1"
    expect_setting biaoti_top $((was[biaoti_top] + 800)) "$1"
    expect_setting pic1_left $((was[pic1_left] + 400)) "$1"
    expect_setting pic1_top "${was[pic1_top]}" "$1"
    expect_setting present_left $((was[present_left] + 1000)) "$1"
    expect_setting present_top $((was[present_top] + 50)) "$1"
}
check_places "after the drags"
# Dragging wrote nothing but places.
for key in kongzhimoshi biaoti_text present_xianshi zhongjiang_xianshi; do
    [ "$(setting "$key")" = "$(iconv -f GBK -t UTF-8 "$E2E_ASSETS/data/opt.ini" | tr -d '\r' |
        sed -n "s/^$key=//p")" ] || fail "dragging changed $key"
done

ask_to_close
answer_notice Return "the close question vanished"
wait_program_end 5 || fail "the program did not end on Yes to the close question"

start_program
check_places "after the restart"
placed=$(screenshot restarted)
check_same_picture "$old_hub" "$rest" "$(hub_area)" "$placed" 30 "the pointer's hub"
check_same_picture "$old_rim" "$rest" "$(wheel_rim)" "$placed" 60 "the wheel's rim below the pointer"
check_same_picture "$old_picture" "$rest" "$(picture_middle)" "$placed" 30 "prize picture 1"
# The see-through title and name list show their text over another background now: compare
# only the pixels of the text colour.
compare_text() { # old_area new_area colour what
    colour_mask "$rest" "$1" "$3" "$E2E_DIR/text-before.png"
    colour_mask "$placed" "$2" "$3" "$E2E_DIR/text-after.png"
    local pixels moved
    pixels=$(white_pixels "$E2E_DIR/text-before.png")
    [ "$pixels" -gt 500 ] || fail "$4 is not to be seen in $rest"
    moved=$(differing_pixels "$E2E_DIR/text-before.png" "$E2E_DIR/text-after.png" 0)
    [ "$moved" -le $((pixels / 10)) ] ||
        fail "$4 is not at its new place after the restart ($moved of $pixels text pixels differ)"
}
compare_text "$old_title" "$(title_area)" "$colour" "the title"
compare_text "$old_list" "$(name_list)" '#FFFFFF' "the prize-name list"

# No spin yet: the saved results exist and hold no line.
save_results
head -c 5 "$E2E_PROGRAM_DIR/中奖信息.rtf" | grep -q '^{\\rtf' || fail "中奖信息.rtf is no RTF document"
[ -z "$(saved_results)" ] || fail "the results saved before any spin hold lines: $(saved_results)"
finish "arranging ok"
