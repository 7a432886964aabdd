#!/usr/bin/env bash
# The operator window of the real program. On one screen there is none: F2 and the remembered
# key open nothing. On a two-monitor X session (the X server's dummy video driver, two outputs
# side by side: a 1366 x 768 laptop and a 1920 x 1080 projector) it opens on the laptop while
# the draw screen is on the projector; its start key draws there, and a question comes up over
# it, on the laptop, never on the projector.
source "$(dirname "$0")/lib.sh" "$@"
OPERATOR_TITLE='^操作员窗口$'
lay_out_program_folder
set_setting caozuo_chuangkou 1

# One screen.
start_display
start_program
focus_draw_screen
xdo key F2
sleep 1
[ -z "$(xdotool search --onlyvisible --name "$OPERATOR_TITLE" 2>/dev/null)" ] ||
    fail "an operator window opened with one screen"
stop_program

# Two monitors on one X server with the dummy driver, as a laptop with a projector.
start_two_monitors() {
    local n xorg conf=$E2E_DIR/xorg.conf
    cat >"$conf" <<'CONF'
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 256000
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
    Modeline "1920x1080" 148.50 1920 2008 2052 2200 1080 1084 1089 1125
    Modeline "1366x768" 85.50 1366 1436 1579 1792 768 771 774 798
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 3286 1080
    EndSubSection
EndSection
CONF
    for n in $(seq 260 300); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xorg ":$n" -noreset -nolisten tcp -config "$conf" -logfile "$E2E_DIR/xorg.log" \
            >"$E2E_DIR/xorg.out" 2>&1 &
        xorg=$!
        for _ in $(seq 100); do
            our_live_child "$xorg" || break
            xdpyinfo -display ":$n" >/dev/null 2>&1 && break
            sleep 0.1
        done
        if our_live_child "$xorg" && xdpyinfo -display ":$n" >/dev/null 2>&1; then
            E2E_PIDS+=("$xorg")
            export DISPLAY=":$n"
            xrandr --output DUMMY0 --mode 1366x768 --pos 0x0 --primary &&
                xrandr --addmode DUMMY1 1920x1080 &&
                xrandr --output DUMMY1 --mode 1920x1080 --pos 1366x0 ||
                fail "cannot lay out two monitors: $(xrandr 2>&1 | head -5)"
            [ "$(xrandr --listmonitors | head -n1)" = "Monitors: 2" ] || fail "not two monitors"
            openbox >"$E2E_DIR/openbox.log" 2>&1 &
            E2E_PIDS+=($!)
            sleep 1
            return 0
        fi
        if our_live_child "$xorg"; then kill "$xorg" 2>/dev/null || true; fi
        wait "$xorg" 2>/dev/null || true
    done
    fail "the X server with the dummy driver did not start: $(tail -5 "$E2E_DIR/xorg.log")"
}
start_two_monitors
set_setting xianshiping DUMMY1
start_program
operator=$(wait_window "$OPERATOR_TITLE" 100) || fail "no operator window on two monitors"
read -r ox _ ow _ < <(window_geometry "$operator")
read -r sx _ _ _ < <(window_geometry "$E2E_WINDOW")
[ "$sx" -ge 1366 ] || fail "the draw screen is not on the projector (x $sx)"
[ "$((ox + ow))" -le 1366 ] || fail "the operator window is not on the laptop (x $ox, width $ow)"

# Its start key draws on the projector.
xdo windowactivate --sync "$operator" >/dev/null 2>&1 || xdo windowfocus "$operator"
xdo key space
for _ in $(seq 150); do
    grep -q ',中奖,' "$E2E_PROGRAM_DIR/摇奖记录.csv" 2>/dev/null && break
    sleep 0.1
done
grep -q ',中奖,' "$E2E_PROGRAM_DIR/摇奖记录.csv" || fail "no prize drawn from the operator window"
sleep 1
screenshot operator-window "1366x768+0+0" >/dev/null

# A question comes up over it, on the laptop.
xdo windowactivate --sync "$operator" >/dev/null 2>&1 || xdo windowfocus "$operator"
xdo key Delete
question=$(wait_window '^提示$' 50) || fail "no question to take the draw back"
read -r qx _ qw _ < <(window_geometry "$question")
[ "$((qx + qw))" -le 1366 ] || fail "the question came up on the projector (x $qx)"
xdo key --window "$question" n
finish "operator window: none on one screen; on two, on the laptop, draws on the projector, asks there"
