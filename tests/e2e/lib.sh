# Shared steps of the end-to-end tests: a virtual X server with a window manager, a fresh
# program folder, and the real program driven with xdotool as a person would.
# Usage from a test: source lib.sh "$binary" "$assets"; then call the functions below.
# E2E_SHOTS=dir keeps the screenshots there; E2E_KEEP=1 keeps the whole temp folder (a failed
# test keeps it anyway and names it).

set -euo pipefail

E2E_BINARY=$1
E2E_ASSETS=$2
E2E_WIDTH=${E2E_WIDTH:-1920}
E2E_HEIGHT=${E2E_HEIGHT:-1080}
E2E_DIR=$(mktemp -d /tmp/prize-wheel-e2e.XXXXXX)
E2E_PROGRAM_DIR=$E2E_DIR/program
E2E_SHOTS=${E2E_SHOTS:-$E2E_DIR/shots}
E2E_PIDS=()
E2E_PROBLEMS=()
E2E_PROGRAM_PID=""
WINDOW_TITLE='Quenlo通用转盘摇奖程序2013'
ANNOUNCEMENT='恭喜！你获得了奖品'
mkdir -p "$E2E_PROGRAM_DIR" "$E2E_SHOTS"

# Whether a process is a live child of this test. Process ids come round again quickly on a
# busy machine, so an id of ours that has ended may already name someone else's process.
our_live_child() {
    local stat state ppid
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    read -r state ppid _ <<<"${stat##*) }"
    [ "$ppid" = "$$" ] && [ "$state" != Z ]
}

e2e_cleanup() {
    local status=$? i
    # The program first, the window manager and the X server last.
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        if our_live_child "${E2E_PIDS[i]}"; then kill "${E2E_PIDS[i]}" 2>/dev/null || true; fi
    done
    wait 2>/dev/null || true
    if [ "$status" -ne 0 ]; then
        echo "screenshots and logs kept in $E2E_DIR" >&2
    elif [ -z "${E2E_KEEP:-}" ]; then
        rm -rf "$E2E_DIR"
    fi
}
trap e2e_cleanup EXIT

# Every xdotool call is bounded: a lost window must fail the test, not hang it.
xdo() {
    timeout 10 xdotool "$@"
}

# Puts text into the focused field the way an operator pastes it. Typing characters that are
# not on the keyboard map through xdotool drops some of them when the machine is busy.
paste_text() {
    printf '%s' "$1" | timeout 10 xclip -selection clipboard -i >/dev/null 2>&1
    xdo key ctrl+v
}

fail() {
    echo "FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ]; then
        screenshot failure >/dev/null 2>&1 &&
            echo "screen at the failure: $E2E_SHOTS/failure.png" >&2
    fi
    report_problems || true
    exit 1
}

# A wrong behaviour after which the scenario can still go on: noted, and reported at the end.
problem() {
    echo "PROBLEM: $*" >&2
    E2E_PROBLEMS+=("$*")
}

report_problems() {
    [ ${#E2E_PROBLEMS[@]} -eq 0 ] && return 0
    local p
    echo "${#E2E_PROBLEMS[@]} problem(s) seen:" >&2
    for p in "${E2E_PROBLEMS[@]}"; do echo "  - $p" >&2; done
    return 1
}

# Ends a test: fails when problems were noted on the way.
finish() {
    report_problems || exit 1
    echo "$1"
}

# Starts Xvfb on a free display and openbox on it. Other test runs and benchmarks may start
# theirs at the same moment: the X server's lock file decides who gets a display, so a display
# counts as ours only while our Xvfb is alive on it. Numbers from 150 keep clear of the
# displays that people and other scripts take first.
start_display() {
    local n xvfb
    for n in $(seq 150 250); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "${E2E_WIDTH}x${E2E_HEIGHT}x24" -nolisten tcp >"$E2E_DIR/xvfb.log" 2>&1 &
        xvfb=$!
        for _ in $(seq 100); do
            our_live_child "$xvfb" || break
            xdpyinfo -display ":$n" >/dev/null 2>&1 && break
            sleep 0.1
        done
        sleep 0.2
        if our_live_child "$xvfb" && xdpyinfo -display ":$n" >/dev/null 2>&1; then
            E2E_PIDS+=("$xvfb")
            export DISPLAY=":$n"
            openbox >"$E2E_DIR/openbox.log" 2>&1 &
            E2E_PIDS+=($!)
            sleep 1
            return 0
        fi
        if our_live_child "$xvfb"; then kill "$xvfb" 2>/dev/null || true; fi
        wait "$xvfb" 2>/dev/null || true
    done
    fail "Xvfb did not start on any display: $(cat "$E2E_DIR/xvfb.log")"
}

# Lays out a program folder from the shipped assets and the built binary.
lay_out_program_folder() {
    cp -r "$E2E_ASSETS"/data "$E2E_ASSETS"/pic "$E2E_ASSETS"/sound "$E2E_PROGRAM_DIR"/
    if [ -d "$E2E_ASSETS"/help ]; then cp -r "$E2E_ASSETS"/help "$E2E_PROGRAM_DIR"/; fi
    cp "$E2E_BINARY" "$E2E_PROGRAM_DIR"/prize-wheel
}

# Starts the program with the program folder as working folder, and waits for its window.
# Installs the program as an operator would (cmake --install from the build the binary came
# from) and takes the program folder from the desktop launcher, which starts it there.
install_program() {
    local build prefix desktop
    build=$(dirname "$(dirname "$E2E_BINARY")")
    prefix=$E2E_DIR/installed
    cmake --install "$build" --prefix "$prefix" >"$E2E_DIR/install.log" 2>&1 || fail "cmake --install failed"
    desktop=$prefix/share/applications/prize-wheel.desktop
    [ -f "$desktop" ] || fail "no desktop launcher installed"
    E2E_PROGRAM_DIR=$(sed -n 's/^Path=//p' "$desktop")
    [ -x "$E2E_PROGRAM_DIR/prize-wheel" ] || fail "the launcher's folder holds no program"
}

# A sound server of the test's own whose only sink swallows the sound, as a machine with a
# sound card has one; the program plays its clips on it. A test that sets E2E_SOUND=none
# before starting the program gets no sound server at all.
start_sound_server() {
    local dir=$E2E_DIR/sound-server server
    [ -n "${E2E_SOUND_SERVER:-}" ] && return 0
    if [ "${E2E_SOUND:-}" = none ]; then
        export PULSE_SERVER=unix:$dir/nobody-listens
        unset PIPEWIRE_REMOTE
        return 0
    fi
    command -v pulseaudio >/dev/null || fail "pulseaudio is missing (scripts/install-deps.sh)"
    mkdir -p -m 700 "$dir"
    HOME=$dir XDG_RUNTIME_DIR=$dir pulseaudio -n --daemonize=no --use-pid-file=no \
        --exit-idle-time=-1 --load="module-null-sink sink_name=e2e" \
        --load="module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
        >"$E2E_DIR/pulseaudio.log" 2>&1 &
    server=$!
    E2E_PIDS+=("$server")
    for _ in $(seq 100); do
        [ -S "$dir/native" ] && break
        our_live_child "$server" || fail "the sound server did not start: $(cat "$E2E_DIR/pulseaudio.log")"
        sleep 0.05
    done
    [ -S "$dir/native" ] || fail "the sound server opened no socket"
    E2E_SOUND_SERVER=$server
    export PULSE_SERVER=unix:$dir/native
}

start_program() {
    start_sound_server
    (cd "$E2E_PROGRAM_DIR" && exec ./prize-wheel) >>"$E2E_DIR/program.log" 2>&1 &
    E2E_PROGRAM_PID=$!
    E2E_PIDS+=("$E2E_PROGRAM_PID")
    E2E_WINDOW=""
    for _ in $(seq 100); do
        E2E_WINDOW=$(xdotool search --name "^${WINDOW_TITLE}\$" 2>/dev/null | head -n1) || true
        [ -n "$E2E_WINDOW" ] && break
        sleep 0.1
    done
    [ -n "$E2E_WINDOW" ] || fail "the draw screen did not appear"
    sleep 1.5 # let it restore and paint; the focus timer has given the start button the focus
    read -r E2E_CLIENT_X E2E_CLIENT_Y _ E2E_CLIENT_H < <(window_geometry "$E2E_WINDOW")
    # The counter and the results sit 136 pixels above the bottom of the outer window, whose
    # frame starts at the top of the screen when maximised.
    E2E_RESULTS_ROW="1033x49+$((E2E_CLIENT_X + 112))+$((E2E_CLIENT_Y + E2E_CLIENT_Y + E2E_CLIENT_H - 136))"
}

program_running() {
    [ -n "$E2E_PROGRAM_PID" ] && our_live_child "$E2E_PROGRAM_PID"
}

# Waits for the program to end by itself, up to $1 seconds.
wait_program_end() {
    for _ in $(seq $((${1:-5} * 10))); do
        program_running || { wait "$E2E_PROGRAM_PID" 2>/dev/null || true; return 0; }
        sleep 0.1
    done
    return 1
}

stop_program() {
    if program_running; then kill "$E2E_PROGRAM_PID" 2>/dev/null || true; fi
    wait "$E2E_PROGRAM_PID" 2>/dev/null || true
}

# A screenshot of the whole screen, or with a second argument WxH+X+Y of that area; prints the
# file. The grab itself is quick (scrot where present), so a shot taken right after a key
# shows the screen of that moment.
screenshot() {
    local file=$E2E_SHOTS/$1.png raw=$E2E_DIR/grab.ppm area=${2:-} w h x y
    if command -v scrot >/dev/null; then
        if [ -n "$area" ]; then
            IFS='x+' read -r w h x y <<<"$area"
            scrot -o -a "$x,$y,$w,$h" "$file"
        else
            scrot -o "$raw" && convert "$raw" -quality 10 "$file"
        fi
    else
        import -window root ${area:+-crop "$area" +repage} -quality 10 "$file"
    fi
    echo "$file"
}

grab_area() { # name WxH+X+Y
    screenshot "$1" "$2"
}

# Number of pixels that differ between two pictures of the same size.
differing_pixels() {
    # compare's status tells "different", which is an answer here, not a failure.
    { compare -metric AE -fuzz "${3:-5%}" "$1" "$2" null: 2>&1 || true; } | cut -d' ' -f1
}

# The colour of one pixel of a screenshot as "r,g,b".
pixel() {
    convert "$1" -format '%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]' -crop "1x1+$2+$3" info:
}

# Writes a black picture of the area WxH+X+Y of a screenshot in which only the pixels of one
# colour are white: a see-through element's text, whatever the background behind it.
colour_mask() { # screenshot area colour output
    convert "$1" -crop "$2" +repage -fuzz 3% -fill white -opaque "$3" -fill black +opaque white "$4"
}

# Number of white pixels of a mask.
white_pixels() {
    convert "$1" -format '%[fx:round(mean*w*h)]' info:
}

# Window ids of the program's message boxes, menus, hints and dialogs: its visible windows
# other than the draw screen.
other_windows() {
    xdotool search --onlyvisible --pid "$E2E_PROGRAM_PID" 2>/dev/null | grep -vx "$E2E_WINDOW" || true
}

window_geometry() { # prints "x y w h"
    xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4}
        /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}

# The screen area WxH+X+Y of a window with the frame the window manager draws around it.
frame_area() {
    local x y w h l r t b
    read -r x y w h < <(window_geometry "$1")
    read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= *//; s/,//g')
    echo "$((w + ${l:-0} + ${r:-0}))x$((h + ${t:-0} + ${b:-0}))+$((x - ${l:-0}))+$((y - ${t:-0}))"
}

# Waits until a window whose name matches $1 is visible, up to $2 tenths of a second (50);
# prints its id.
wait_window() {
    local id
    for _ in $(seq "${2:-50}"); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Waits until no visible window's name matches $1, up to $2 tenths of a second (50).
wait_window_gone() {
    for _ in $(seq "${2:-50}"); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}

# Gives the draw screen the keyboard, as a click on its caption would.
focus_draw_screen() {
    xdo windowactivate --sync "$E2E_WINDOW" >/dev/null 2>&1 || xdo windowfocus "$E2E_WINDOW" ||
        fail "cannot activate the draw screen"
}

# Presses a key on the draw screen to start a spin and waits until the results row shows a
# new line; fails after $2 seconds (8). The results row is the counter and the results list.
spin_with() {
    local key=$1 before now
    focus_draw_screen
    # The row must be at rest, or the end of painting the last result would pass for a new one;
    # the confetti of the last stop crosses it for up to three seconds.
    before=$(grab_area before-spin "$E2E_RESULTS_ROW")
    for _ in $(seq 50); do
        sleep 0.1
        now=$(grab_area results-now "$E2E_RESULTS_ROW")
        [ "$(differing_pixels "$before" "$now" 0)" -eq 0 ] && break
        cp "$now" "$before"
    done
    xdo key "$key"
    wait_results_change "$before" "${2:-8}" || fail "no new result within ${2:-8} s after $key"
}

# Polls the results row until it differs from the picture $1; up to $2 seconds.
wait_results_change() {
    local deadline=$((SECONDS + $2)) now
    while [ $SECONDS -le $deadline ]; do
        now=$(grab_area results-now "$E2E_RESULTS_ROW")
        [ "$(differing_pixels "$1" "$now")" -gt 20 ] && return 0
        sleep 0.2
    done
    return 1
}

# Right-clicks the background near the bottom-right corner and waits for the menu.
open_context_menu() {
    local x=$((E2E_CLIENT_X + E2E_WIDTH - 20)) y=$((E2E_HEIGHT - 20)) before
    focus_draw_screen
    before=$(other_windows | wc -l)
    xdo mousemove "$x" "$y" click 3
    for _ in $(seq 30); do
        [ "$(other_windows | wc -l)" -gt "$before" ] && { sleep 0.2; return 0; }
        sleep 0.1
    done
    fail "no context menu after a right-click on the background at $x,$y"
}

# Chooses the menu item $1 (1 = 设置, 2 = 保存中奖结果…, 3 = 使用帮助, 4 = 全屏显示, 5 = 退出) with
# the keyboard; the separators are skipped, and so are 切换显示屏, greyed out on the one screen,
# and 作废上一次中奖, greyed out while no draw can be taken back (with one, it is 3 and the
# later items move down by one).
choose_menu_item() {
    local keys=()
    for _ in $(seq "$1"); do keys+=(Down); done
    xdo key --delay 60 "${keys[@]}" Return
}

# Waits for a notice box (caption 提示) and answers it with the key $1 (Return); fails with
# the message $2 when none comes.
answer_notice() {
    local box
    box=$(wait_window '^提示$' 50) || fail "$2"
    xdo windowactivate --sync "$box" >/dev/null 2>&1 || true
    xdo key "$1"
    wait_window_gone '^提示$' 30 || fail "the notice box did not close on $1"
}

# Saves the results through the context menu and closes the confirmation.
save_results() {
    rm -f "$E2E_PROGRAM_DIR/中奖信息.rtf"
    open_context_menu
    choose_menu_item 2
    answer_notice Return "no confirmation box after saving the results"
    [ -f "$E2E_PROGRAM_DIR/中奖信息.rtf" ] || fail "saving the results wrote no 中奖信息.rtf"
}

# The paragraphs of the saved results file, one a line, in UTF-8, blanks collapsed as the
# RTF reader renders them; empty paragraphs left out.
saved_results() {
    unrtf --html "$E2E_PROGRAM_DIR/中奖信息.rtf" 2>/dev/null | python3 -c '
import html, re, sys
page = sys.stdin.read()
body = re.search(r"<body[^>]*>(.*)</body>", page, re.S)
for paragraph in (body.group(1) if body else "").split("<br>"):
    text = html.unescape(re.sub(r"<[^>]*>", "", paragraph))
    text = " ".join(text.split())
    if text:
        print(text)
'
}

# The prize names of data/奖品.txt, lines 1 … 8.
prize_names() {
    iconv -f GBK -t UTF-8 "$E2E_PROGRAM_DIR/data/奖品.txt" | tr -d '\r' | head -n 8
}

# Checks that the saved results hold exactly $1 announcements, each naming a prize of the
# prize name file; prints the names won, one a line.
check_saved_announcements() {
    local lines count name
    lines=$(saved_results)
    count=$(printf '%s' "$lines" | grep -c . || true)
    [ "$count" -eq "$1" ] || fail "the saved results hold $count lines, expected $1: $lines"
    while IFS= read -r line; do
        [[ $line == "$ANNOUNCEMENT "* ]] || fail "a saved line is not an announcement: $line"
        name=${line#"$ANNOUNCEMENT "}
        prize_names | grep -qxF "$name" || fail "the saved line names no prize of 奖品.txt: $line"
        echo "$name"
    done <<<"$lines"
}

# Drags with the left button from x,y by dx,dy in small steps, as a hand would.
drag() {
    local x=$1 y=$2 dx=$3 dy=$4 steps=12 i
    xdo mousemove "$x" "$y"
    sleep 0.1
    xdo mousedown 1
    sleep 0.1
    for i in $(seq $steps); do
        xdo mousemove $((x + dx * i / steps)) $((y + dy * i / steps))
        sleep 0.03
    done
    sleep 0.1
    xdo mouseup 1
    sleep 0.1
    # Out of the way, so that no hint covers what a screenshot is to show.
    xdo mousemove $((E2E_WIDTH - 1)) $((E2E_HEIGHT - 1))
}

# Asks the draw screen to close with Alt+F4 and waits for the close question.
ask_to_close() {
    focus_draw_screen
    xdo key alt+F4
    wait_window '^提示$' 50 >/dev/null || fail "Alt+F4 brought no close question"
}

setting() { # reads a key of data/opt.ini
    iconv -f GBK -t UTF-8 "$E2E_PROGRAM_DIR/data/opt.ini" | tr -d '\r' | sed -n "s/^$1=//p"
}

set_setting() { # key value; a key the file lacks is added to its one section
    local tmp=$E2E_DIR/opt.tmp
    iconv -f GBK -t UTF-8 "$E2E_PROGRAM_DIR/data/opt.ini" | tr -d '\r' |
        awk -v key="$1" -v value="$2" 'index($0, key "=") == 1 { $0 = key "=" value; found = 1 }
            { print } END { if (!found) print key "=" value }' |
        sed 's/$/\r/' | iconv -f UTF-8 -t GBK >"$tmp"
    mv "$tmp" "$E2E_PROGRAM_DIR/data/opt.ini"
}

# Screen area WxH+X+Y of a rectangle given in the draw screen's client coordinates.
client_area() { # width height left top
    echo "$1x$2+$((E2E_CLIENT_X + $3))+$((E2E_CLIENT_Y + $4))"
}

# The hub of the pointer placed at the settings' zhizhen_left/top: a square around the centre
# of the 350 x 350 pointer, covered by the pointer picture alone.
hub_area() {
    client_area 30 30 $(($(setting zhizhen_left) + 160)) $(($(setting zhizhen_top) + 160))
}

# The title's text rows at the settings' biaoti_left/top.
title_area() {
    client_area 1200 50 "$(setting biaoti_left)" "$(setting biaoti_top)"
}

# The title colour of the settings as #RRGGBB (the file holds 0x00BBGGRR).
title_colour() {
    local c
    c=$(setting biaoti_color)
    printf '#%02X%02X%02X' $((c & 255)) $((c >> 8 & 255)) $((c >> 16 & 255))
}

# Checks that the area $3 of the screenshot $4 shows what the area $1 of the reference
# screenshot $2 shows; $5 differing pixels are allowed; $6 names what is compared.
check_same_picture() { # ref_area ref_shot now_area now_shot allowed what
    convert "$2" -crop "$1" +repage "$E2E_DIR/ref-crop.png"
    convert "$4" -crop "$3" +repage "$E2E_DIR/now-crop.png"
    local d
    d=$(differing_pixels "$E2E_DIR/ref-crop.png" "$E2E_DIR/now-crop.png")
    [ "$d" -le "$5" ] || fail "$6: $d pixels differ from the reference ($2 at $1, $4 at $3)"
}

# Answers the open close question Yes with the key $1 and checks that the program's process
# is gone within two seconds; $2 says what came before, for the failure message.
yes_ends_program() {
    local box
    box=$(wait_window '^提示$' 50) || fail "no close question $2"
    xdo windowactivate --sync "$box" >/dev/null 2>&1 || true
    xdo key "$1"
    # Measured on the clock, not in polls: on a busy machine a poll takes a while itself.
    local deadline=$((${EPOCHREALTIME//[.,]/} + 2000000))
    while program_running; do
        ((${EPOCHREALTIME//[.,]/} < deadline)) ||
            fail "the program was still running 2 s after Yes to the close question $2"
        sleep 0.05
    done
    wait "$E2E_PROGRAM_PID" 2>/dev/null || true
}
