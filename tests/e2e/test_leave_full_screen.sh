#!/usr/bin/env bash
# Started in full screen, F11 gives the maximised window on its own screen, the same as a start
# without full screen shows, and so does every F11 after; on a small and on a large screen.
# Each screen size runs in a program of its own, on a virtual X server of that size.
if [ -z "${E2E_WIDTH:-}" ]; then
    for size in 1366x768 1920x1080; do
        E2E_WIDTH=${size%x*} E2E_HEIGHT=${size#*x} bash "$0" "$@" || exit 1
    done
    exit 0
fi
source "$(dirname "$0")/lib.sh" "$@"
size=${E2E_WIDTH}x${E2E_HEIGHT}

maximised() {
    xprop -id "$E2E_WINDOW" _NET_WM_STATE | grep -q _NET_WM_STATE_MAXIMIZED_VERT &&
        xprop -id "$E2E_WINDOW" _NET_WM_STATE | grep -q _NET_WM_STATE_MAXIMIZED_HORZ
}

# Waits up to 5 s for the window to have the place and size $1 ("x y w h").
wait_geometry() {
    for _ in $(seq 50); do
        [ "$(window_geometry "$E2E_WINDOW")" = "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

start_display
lay_out_program_folder
start_program
maximised || fail "at $size a start without full screen is not maximised"
max=$(window_geometry "$E2E_WINDOW")
max_frame=$(frame_area "$E2E_WINDOW")
[ "$max_frame" = "$size+0+0" ] || fail "at $size the maximised window's frame is $max_frame"
stop_program

set_setting quanping 1
start_program
full="0 0 $E2E_WIDTH $E2E_HEIGHT"
wait_geometry "$full" || fail "at $size the start is not full screen: $(window_geometry "$E2E_WINDOW")"
for round in 1 2; do
    focus_draw_screen
    xdo key F11
    wait_geometry "$max" ||
        fail "at $size F11 ($round) gave $(window_geometry "$E2E_WINDOW") (frame" \
            "$(frame_area "$E2E_WINDOW")), not the maximised $max"
    maximised || fail "at $size F11 ($round) left a window that is not maximised"
    [ "$(setting quanping)" = 0 ] || fail "at $size leaving full screen was not remembered"
    focus_draw_screen
    xdo key F11
    wait_geometry "$full" || fail "at $size F11 did not go back to full screen"
done
stop_program
finish "leaving full screen at $size ok"
