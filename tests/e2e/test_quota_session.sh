#!/usr/bin/env bash
# A whole event session on the installed program, started in its launcher's folder: spins in
# fully random mode; the settings dialog from the context menu
# switches to quota mode with quantities 2,1,0,0,0,0,0,1 and new names for prizes 1, 2 and 8,
# and saving ends the program; after a restart the draw gives exactly those prizes and then
# reports that all are drawn; the title and the pointer are dragged, keep their places across
# a restart, and the close question's No keeps the program while Yes ends it.
source "$(dirname "$0")/lib.sh" "$@"

NAMES=([1]='金奖' [2]='银奖' [8]='铜奖')
QUANTITIES=(2 1 0 0 0 0 0 1)

start_display
install_program
[ "$(setting kongzhimoshi)" = 1 ] || fail "the shipped data is not in fully random mode"
start_program

# --- fully random mode: three spins ---
for _ in 1 2 3; do spin_with space; done
save_results
check_saved_announcements 3 >/dev/null

# --- the settings dialog ---
open_context_menu
choose_menu_item 1
dialog=$(wait_window '^系统设置$' 50) || fail "设置 in the context menu opened no settings dialog"
read -r dx dy dw dh < <(window_geometry "$dialog")
dialog_area=$(frame_area "$dialog")
screenshot settings-dialog-open "$dialog_area" >/dev/null

# The red hint under the quota choice shows where the control-mode group is: the quota radio
# lies 70 - 56 pixels above the hint's top and 26 pixels left of it, the prize group starts
# right below the control-mode group. Prints "x y" of the hint in the dialog.
find_quota_hint() {
    local box
    box=$(convert "$(screenshot dialog-now "500x${dh}+$dx+$dy")" -fuzz 20% -fill black \
        +opaque '#ff0000' -format '%@' info:)
    [[ $box =~ ^[0-9]+x[0-9]+\+([0-9]+)\+([0-9]+)$ ]] || return 1
    [ "${box%%x*}" -gt 100 ] || return 1 # a line of text, not a stray pixel
    echo "${BASH_REMATCH[1]} ${BASH_REMATCH[2]}"
}
read -r hx hy < <(find_quota_hint) || fail "no red hint of the quota choice in the settings dialog"
xdo mousemove $((dx + hx - 26 + 60)) $((dy + hy - 14)) click 1
# In quota mode the prize group shows its total in red right of the quantities.
for _ in $(seq 30); do
    total=$(convert "$(screenshot dialog-total "$((dw - 500))x${dh}+$((dx + 500))+$dy")" \
        -fuzz 20% -fill black +opaque '#ff0000' -format '%@' info:)
    [[ $total =~ ^[0-9]+x[0-9]+ ]] && [ "${total%%x*}" -gt 5 ] && break
    total=""
    sleep 0.1
done
[ -n "$total" ] || fail "choosing the quota mode did not show the prize names and quantities"
first_hint_top=$hy
read -r hx hy < <(find_quota_hint) || fail "the quota hint is gone after choosing the quota mode"
# The control-mode group sits at the top of its page whether the prize group shows or not.
if [ $((hy - first_hint_top)) -gt 2 ] || [ $((first_hint_top - hy)) -gt 2 ]; then
    problem "the control-mode choice moved from y=$first_hint_top to y=$hy in the dialog when" \
        "the prize group appeared (screens: $E2E_SHOTS/settings-dialog-open.png, settings-dialog.png)"
fi

# Name field 1, then by the tab order the other name fields and the quantity boxes.
xdo mousemove $((dx + hx - 26 + 134 + 60)) $((dy + hy + 70)) click 1
sleep 0.2
for k in 1 2 3 4 5 6 7 8; do
    if [ -n "${NAMES[k]:-}" ]; then
        xdo key ctrl+a
        paste_text "${NAMES[k]}"
    fi
    xdo key Tab
done
# The quantity boxes take no typed text: Page Down steps 10 down to 0, Up 1 up.
mapfile -t shipped < <(tr -d '\r' <"$E2E_PROGRAM_DIR/data/数量.txt")
for k in 0 1 2 3 4 5 6 7; do
    xdo key --delay 15 --repeat $((${shipped[k]:-0} / 10 + 1)) Next
    [ "${QUANTITIES[k]}" -eq 0 ] || xdo key --delay 15 --repeat "${QUANTITIES[k]}" Up
    xdo key Tab
done
sleep 0.3
screenshot settings-dialog "$dialog_area" >/dev/null

# 保存 in the bottom button bar (client 247,16 in the 57-pixel bar, 75 x 25).
xdo mousemove $((dx + 247 + 37)) $((dy + dh - 57 + 16 + 12)) click 1
box=$(wait_window '^提示$' 50) || fail "保存 showed no notice box"
xdo windowactivate --sync "$box" >/dev/null 2>&1 || true
xdo key Return
if ! wait_program_end 5; then
    screenshot save-did-not-end >/dev/null
    problem "the program did not end after the save's notice box was closed; windows open:" \
        "$(other_windows | xargs -r -n1 xdotool getwindowname | tr '\n' ' ')(screen: $E2E_SHOTS/save-did-not-end.png)"
    # Whatever box stands in the way (a close question), Return answers it.
    if box=$(wait_window '^提示$' 10); then
        xdo windowactivate --sync "$box" >/dev/null 2>&1 || true
        xdo key Return
    fi
    wait_program_end 5 || fail "the program does not end after the save"
fi

[ "$(setting kongzhimoshi)" = 3 ] || fail "kongzhimoshi is '$(setting kongzhimoshi)' after the save, expected 3"
pool_lines=$(grep -c '[0-9]' "$E2E_PROGRAM_DIR/data/db.dat" || true)
[ "$pool_lines" -eq 4 ] || fail "data/db.dat holds $pool_lines stop angles, expected 4"
saved_quantities=$(tr -d '\r' <"$E2E_PROGRAM_DIR/data/数量.txt" | head -n 8 | tr '\n' ' ')
[ "$saved_quantities" = "${QUANTITIES[*]} " ] ||
    fail "data/数量.txt holds '$saved_quantities', expected '${QUANTITIES[*]}'"
mapfile -t names < <(prize_names)
for k in 1 2 8; do
    [ "${names[k - 1]}" = "${NAMES[k]}" ] ||
        fail "prize $k is named '${names[k - 1]}' after the save, expected '${NAMES[k]}'"
done

# --- quota mode: draw until all is drawn ---
start_program
rest=$(screenshot quota-start)
spins=0
all_drawn=""
for _ in $(seq 8); do
    spin_with space
    spins=$((spins + 1))
    # The all-drawn notice follows the last prize's celebration once it has faded (about
    # five seconds).
    if all_drawn=$(wait_window '^提示$' 80); then break; fi
done
[ -n "$all_drawn" ] || fail "no all-drawn notice after $spins spins"
[ "$spins" -eq 4 ] || fail "the all-drawn notice came after $spins spins, expected 4"
answer_notice Return "the all-drawn notice vanished"
save_results
won=$(check_saved_announcements 4 | sort | tr '\n' ' ')
expected=$(printf '%s\n' "${NAMES[1]}" "${NAMES[1]}" "${NAMES[2]}" "${NAMES[8]}" | sort | tr '\n' ' ')
[ "$won" = "$expected" ] || fail "the quota draw gave '$won', expected '$expected'"
echo "quota draw gave: $won"

# --- arranging: drag the title and the pointer ---
title_left=$(setting biaoti_left) title_top=$(setting biaoti_top)
pointer_left=$(setting zhizhen_left) pointer_top=$(setting zhizhen_top)
old_hub=$(hub_area) old_title=$(title_area) colour=$(title_colour)
focus_draw_screen
# Grab the title near its top-left and the pointer in a corner of its square, clear of the
# prize pictures and the name list.
drag $((E2E_CLIENT_X + title_left + 40)) $((E2E_CLIENT_Y + title_top + 20)) -100 40
drag $((E2E_CLIENT_X + pointer_left + 20)) $((E2E_CLIENT_Y + pointer_top + 20)) -200 60
expect_place() { # key value
    [ "$(setting "$1")" = "$2" ] || fail "$1 is '$(setting "$1")' after the drag, expected $2"
}
expect_place biaoti_left $((title_left - 100))
expect_place biaoti_top $((title_top + 40))
expect_place zhizhen_left $((pointer_left - 200))
expect_place zhizhen_top $((pointer_top + 60))

# --- the close question: No keeps the program, Yes ends it ---
ask_to_close
answer_notice Escape "the close question vanished"
sleep 0.5
program_running || fail "the program ended although the close question was answered No"
ask_to_close
answer_notice Return "the close question vanished"
wait_program_end 5 || fail "the program did not end on Yes to the close question"

# --- the places survive a restart ---
start_program
expect_place biaoti_left $((title_left - 100))
expect_place zhizhen_left $((pointer_left - 200))
placed=$(screenshot restarted)
check_same_picture "$old_hub" "$rest" "$(hub_area)" "$placed" 30 "the pointer's hub at its new place"
colour_mask "$rest" "$old_title" "$colour" "$E2E_DIR/title-before.png"
colour_mask "$placed" "$(title_area)" "$colour" "$E2E_DIR/title-after.png"
title_pixels=$(white_pixels "$E2E_DIR/title-before.png")
[ "$title_pixels" -gt 1000 ] || fail "the title is not to be seen in $rest"
moved_title=$(differing_pixels "$E2E_DIR/title-before.png" "$E2E_DIR/title-after.png" 0)
[ "$moved_title" -le $((title_pixels / 10)) ] ||
    fail "the title is not at its new place after the restart ($moved_title of $title_pixels text pixels differ)"

# Ending through the menu's 退出 asks the same question.
open_context_menu
choose_menu_item 5
answer_notice Return "退出 brought no close question"
wait_program_end 5 || fail "the program did not end on Yes after 退出"
finish "quota session ok"
