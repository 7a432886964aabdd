#!/usr/bin/env bash
# On the projector: the display held on through the desktop's screen saver service for exactly
# the run, nothing shown where there is no such service, F11 and the menu item switching full
# screen both ways, remembered for the next start, and the close question in full screen.
source "$(dirname "$0")/lib.sh" "$@"

calls=$E2E_DIR/screensaver-calls.log
# A runtime folder as a desktop session has, so that the program prints nothing of its own.
export XDG_RUNTIME_DIR=$E2E_DIR/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

# A session bus of the test's own, with a stand-in for the desktop's screen saver service.
dbus-daemon --session --nofork --print-address=1 >"$E2E_DIR/bus-address" 2>"$E2E_DIR/bus.log" &
E2E_PIDS+=($!)
for _ in $(seq 50); do [ -s "$E2E_DIR/bus-address" ] && break; sleep 0.1; done
[ -s "$E2E_DIR/bus-address" ] || fail "dbus-daemon did not start: $(cat "$E2E_DIR/bus.log")"
export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$E2E_DIR/bus-address")
/usr/bin/python3 "$(dirname "$0")/../support/fake_screensaver.py" "$calls" >"$E2E_DIR/service.out" 2>&1 &
service=$!
E2E_PIDS+=("$service")
for _ in $(seq 100); do grep -q ready "$E2E_DIR/service.out" 2>/dev/null && break; sleep 0.1; done
grep -q ready "$E2E_DIR/service.out" || fail "the stand-in service did not start: $(cat "$E2E_DIR/service.out")"

is_full_screen() {
    local x y w h
    read -r x y w h < <(window_geometry "$E2E_WINDOW")
    [ "$x" -eq 0 ] && [ "$y" -eq 0 ] && [ "$w" -eq "$E2E_WIDTH" ] && [ "$h" -eq "$E2E_HEIGHT" ]
}

# Waits until the window is (yes) or is not (no) full screen, up to 5 s.
wait_full_screen() {
    for _ in $(seq 50); do
        if is_full_screen; then [ "$1" = yes ] && return 0; else [ "$1" = no ] && return 0; fi
        sleep 0.1
    done
    return 1
}

start_display
lay_out_program_folder
start_program

# --- the display is held for the run, with the program's name ---
for _ in $(seq 50); do [ -s "$calls" ] && break; sleep 0.1; done
IFS=$'\t' read -r call name _ cookie <"$calls" || fail "the program did not ask to hold the display"
[ "$call" = Inhibit ] || fail "the first call was $call, not Inhibit"
[ "$name" = "Quenlo通用转盘摇奖" ] || fail "the hold was asked for in the name of '$name'"
wait_full_screen no || fail "the draw screen opened in full screen without the key"
[ -z "$(setting quanping)" ] || fail "quanping was written at start-up"

# --- F11 both ways, remembered ---
focus_draw_screen
xdo key F11
wait_full_screen yes || fail "F11 did not switch to full screen: $(window_geometry "$E2E_WINDOW")"
[ "$(setting quanping)" = 1 ] || fail "full screen was not remembered"
shot=$(screenshot full-screen)
[ "$(pixel "$shot" $((E2E_WIDTH / 2)) 2)" != "0,0,0" ] || fail "the top of the screen is not the draw screen"
xdo key F11
wait_full_screen no || fail "F11 did not switch back to the maximised window"
[ "$(setting quanping)" = 0 ] || fail "leaving full screen was not remembered"

# --- the menu item; 切换显示屏 is greyed out on one screen and skipped by the arrow keys ---
open_context_menu
choose_menu_item 4
wait_full_screen yes || fail "全屏显示 did not switch to full screen"
[ "$(setting quanping)" = 1 ] || fail "full screen from the menu was not remembered"

# --- the close question in full screen; the hold is let go at the end ---
ask_to_close
answer_notice Escape "the close question vanished"
sleep 0.5
program_running || fail "the program ended although the close question was answered No"
is_full_screen || fail "answering No left full screen"
ask_to_close
answer_notice Return "the close question vanished"
wait_program_end 5 || fail "the program did not end on Yes to the close question"
[ "$(sed -n 2p "$calls")" = "UnInhibit	$cookie" ] ||
    fail "the hold was not let go at the end: $(cat "$calls")"

# --- the next start opens in full screen; no service: nothing shown, nothing printed ---
kill "$service"
wait "$service" 2>/dev/null || true
: >"$E2E_DIR/program.log"
start_program
wait_full_screen yes || fail "the next start did not open in full screen"
[ -z "$(other_windows)" ] || fail "a window other than the draw screen is open without the service"
[ ! -s "$E2E_DIR/program.log" ] || fail "the program printed without the service: $(cat "$E2E_DIR/program.log")"
unset DBUS_SESSION_BUS_ADDRESS
stop_program
: >"$E2E_DIR/program.log"
start_program
[ -z "$(other_windows)" ] || fail "a window other than the draw screen is open without a session bus"
[ ! -s "$E2E_DIR/program.log" ] || fail "the program printed without a session bus: $(cat "$E2E_DIR/program.log")"
program_running || fail "the program ended"
finish "projector ok"
