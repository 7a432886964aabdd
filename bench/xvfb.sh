# Sourced by the benchmark drivers: a work folder removed on exit, and a virtual X server at
# 1920 x 1080 with a window manager on a free display. Expects $work_prefix.
work=$(mktemp -d "/tmp/$work_prefix.XXXXXX")
cleanup() {
    # Only this shell's live jobs: a saved id may belong to someone else by now.
    kill $(jobs -p) 2>/dev/null || true
    [ -z "${DBUS_SESSION_BUS_PID:-}" ] || kill "$DBUS_SESSION_BUS_PID" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

for n in $(seq 90 140); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] || break
done
export DISPLAY=:$n
Xvfb "$DISPLAY" -screen 0 1920x1080x24 -br -nolisten tcp >"$work/xvfb.log" 2>&1 &
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
# A session bus, as a desktop has: without one, the first program to ask for it (Qt's
# accessibility does, at the first widget) waits while the bus library starts a bus of its own.
if command -v dbus-launch >/dev/null; then
    eval "$(dbus-launch --sh-syntax)"
fi
openbox >"$work/openbox.log" 2>&1 &
sleep 1
