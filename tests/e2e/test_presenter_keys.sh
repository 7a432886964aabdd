#!/usr/bin/env bash
# The keys of a presenter remote on the shipped data (fully random mode): Page Down, Right and
# Down each start a spin, also right after a click on the prize-name list; Page Up, Left and
# Up start nothing; "B" and "." black the whole screen until "B", "." or Esc, and while it is
# black no key starts a spin; a spin started before going black ends in its announcement as
# usual. None of these keys acts while a message box or the settings dialog is open.
source "$(dirname "$0")/lib.sh" "$@"

start_display
lay_out_program_folder
[ "$(setting kongzhimoshi)" = 1 ] || fail "the shipped data is not in fully random mode"
start_program

# A first line of the prize-name list, and most of the client area.
list_x=$((E2E_CLIENT_X + $(setting present_left) + 40))
list_y=$((E2E_CLIENT_Y + $(setting present_top) + 15))
stage=$(client_area 1600 800 100 100)
results=0

# Waits until the results row stops changing (the confetti of a stop crosses it); prints the
# picture of the row at rest.
row_at_rest() {
    local before now
    before=$(grab_area "rest-$1" "$E2E_RESULTS_ROW")
    for _ in $(seq 50); do
        sleep 0.1
        now=$(grab_area results-now "$E2E_RESULTS_ROW")
        [ "$(differing_pixels "$before" "$now" 0)" -eq 0 ] && break
        cp "$now" "$before"
    done
    echo "$before"
}

# How bright the stage is, 0 (black) to 1.
stage_brightness() {
    convert "$(screenshot "stage-$1")" -crop "$stage" +repage -format '%[fx:mean]' info:
}
is_black() {
    local b
    b=$(stage_brightness "$1")
    [[ $b =~ ^[0-9.e+-]+$ ]] || fail "the screenshot $1 could not be measured: $b"
    awk -v b="$b" 'BEGIN { exit !(b < 0.01) }'
}

click_prize_list() {
    xdo mousemove "$list_x" "$list_y" click 1
    xdo mousemove $((E2E_WIDTH - 1)) $((E2E_HEIGHT - 1))
}

# Each "next" key starts a spin at once, from the start button and right after a click on the
# prize-name list.
for key in Next Right Down; do
    for place in button list; do
        focus_draw_screen
        before=$(row_at_rest "$key-$place")
        [ "$place" = list ] && click_prize_list
        xdo key "$key"
        wait_results_change "$before" 8 || fail "$key ($place) started no spin"
        results=$((results + 1))
    done
done

# The "back" keys start nothing.
focus_draw_screen
before=$(row_at_rest back)
for key in Prior Left Up; do
    click_prize_list
    xdo key "$key"
    xdo key "$key"
done
sleep 2.5
[ "$(differing_pixels "$before" "$(grab_area after-back "$E2E_RESULTS_ROW")")" -le 20 ] ||
    fail "Page Up, Left or Up started a spin"

# Black out and back, each way; while black the start keys do nothing.
for pair in "b b" "period period" "b Escape" "period b"; do
    read -r on off <<<"$pair"
    focus_draw_screen
    before=$(row_at_rest "black-$on-$off")
    click_prize_list
    xdo key "$on"
    sleep 0.3
    is_black "$on-on" || fail "$on did not black out the screen"
    [ -z "$(other_windows)" ] || fail "blacking out opened a window"
    for key in Next Right Down space Return; do
        xdo key "$key"
    done
    sleep 2
    is_black "$on-still" || fail "the screen came back while black on a start key"
    xdo key "$off"
    sleep 0.3
    is_black "$on-$off-off" && fail "$off did not bring the screen back from $on"
    now=$(row_at_rest "after-black-$on-$off")
    [ "$(differing_pixels "$before" "$now")" -le 20 ] ||
        fail "a start key started a spin while the screen was black ($on … $off)"
done

# A spin started just before going black goes on beneath and is announced as usual.
focus_draw_screen
before=$(row_at_rest beneath)
xdo key Next
xdo key b
sleep 0.3
is_black beneath || fail "b during a spin did not black out the screen"
sleep 4
is_black beneath-still || fail "the end of the spin brought the screen back"
[ -z "$(other_windows)" ] || fail "a box came up over the black: $(other_windows | xargs -r -n1 xdotool getwindowname)"
xdo key b
wait_results_change "$before" 3 || fail "the spin beneath the black was not announced"
results=$((results + 1))

# A message box holds the keys: the confirmation of saving the results.
before=$(row_at_rest box)
open_context_menu
choose_menu_item 2
box=$(wait_window '^提示$' 50) || fail "no confirmation box after saving the results"
for key in Next Right Down b period; do
    xdo key "$key"
done
sleep 2
is_black box && fail "a key blacked out the screen behind a message box"
wait_window '^提示$' 5 >/dev/null || fail "a key closed the message box"
xdo windowactivate --sync "$box" >/dev/null 2>&1 || true
xdo key Return
wait_window_gone '^提示$' 30 || fail "the message box did not close on Return"
[ "$(differing_pixels "$before" "$(row_at_rest after-box)")" -le 20 ] ||
    fail "a key started a spin behind the message box"

# And so does the settings dialog; closing it ends the program.
open_context_menu
choose_menu_item 1
dialog=$(wait_window '^系统设置$' 50) || fail "设置 opened no settings dialog"
for key in Next b period; do
    xdo key "$key"
done
sleep 2
is_black dialog && fail "a key blacked out the screen behind the settings dialog"
[ "$(differing_pixels "$before" "$(grab_area after-dialog "$E2E_RESULTS_ROW")")" -le 20 ] ||
    fail "a key started a spin behind the settings dialog"
program_running || fail "the program ended while the settings dialog was open"

check_saved_announcements "$results" >/dev/null
finish "presenter keys ok"
