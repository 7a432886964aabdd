# Shared steps of the screen-fit tests: the shipped program on a screen of E2E_WIDTH x
# E2E_HEIGHT shows every element whole, inside the screen and clear of the others, and a spin
# announces a prize there. Where the elements are comes from the program's own geometry report
# (PRIZE_WHEEL_GEOMETRY_REPORT), in screen pixels.
# Usage: source lib.sh first, then fit_check NAME [environment assignments...].

GEOMETRY=$E2E_DIR/geometry.txt

# Waits for a geometry report written after $1 (a file to be newer than); prints nothing.
wait_geometry() {
    for _ in $(seq 50); do
        [ -s "$GEOMETRY" ] && [ "$GEOMETRY" -nt "$1" ] && return 0
        sleep 0.1
    done
    fail "the program wrote no geometry report"
}

# Checks the report: every element present, inside the screen, none covering another. The
# wheel and the pointer are discs (the wheel's picture is a disc filling its control, the
# pointer turns inside the circle of its square); the pointer lies over the wheel by design.
# The counter and the results list form one row. Prints the results row as WxH+X+Y.
check_geometry() {
    python3 - "$GEOMETRY" "$E2E_WIDTH" "$E2E_HEIGHT" <<'PY'
import itertools, sys
path, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
rects = {}
for line in open(path, encoding='utf-8'):
    name, x, y, w, h = line.split()
    rects[name] = (int(x), int(y), int(w), int(h))
problems = []
expected = ['wheelImage', 'pointerImage', 'titleLabel', 'prizeList', 'counterLabel',
            'resultsList'] + [f'prizeImage{k}' for k in range(1, 9)]
missing = [n for n in expected if n not in rects]
if missing:
    sys.exit('missing from the screen: ' + ' '.join(missing))
c, r = rects.pop('counterLabel'), rects.pop('resultsList')
left, top = min(c[0], r[0]), min(c[1], r[1])
right, bottom = max(c[0] + c[2], r[0] + r[2]), max(c[1] + c[3], r[1] + r[3])
rects['resultsRow'] = (left, top, right - left, bottom - top)
discs = {'wheelImage', 'pointerImage'}
for name, (x, y, w, h) in rects.items():
    if w <= 0 or h <= 0 or x < 0 or y < 0 or x + w > width or y + h > height:
        problems.append(f'{name} {w}x{h}+{x}+{y} is not whole inside the {width}x{height} screen')

def overlap_rects(a, b):
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]

def overlap_disc_rect(d, b):
    cx, cy, rx, ry = d[0] + d[2] / 2, d[1] + d[3] / 2, d[2] / 2, d[3] / 2
    nx = min(max(cx, b[0]), b[0] + b[2])
    ny = min(max(cy, b[1]), b[1] + b[3])
    return ((nx - cx) / rx) ** 2 + ((ny - cy) / ry) ** 2 < 1

for a, b in itertools.combinations(sorted(rects), 2):
    if {a, b} == discs:
        continue
    if a in discs:
        hit = overlap_disc_rect(rects[a], rects[b])
    elif b in discs:
        hit = overlap_disc_rect(rects[b], rects[a])
    else:
        hit = overlap_rects(rects[a], rects[b])
    if hit:
        problems.append(f'{a} {rects[a]} and {b} {rects[b]} cover each other')
if problems:
    sys.exit('\n'.join(problems))
x, y, w, h = rects['resultsRow']
print(f'{w}x{h}+{x}+{y}')
PY
}

# One start of the program on the shipped data (with QT_SCALE_FACTOR=$2 when given), a check
# of the layout, a spin with Space, the check again, and a screenshot NAME of the result.
fit_check() {
    local name=$1 factor=${2:-} row
    lay_out_program_folder
    rm -f "$GEOMETRY"
    touch "$E2E_DIR/started"
    export PRIZE_WHEEL_GEOMETRY_REPORT=$GEOMETRY
    if [ -n "$factor" ]; then export QT_SCALE_FACTOR=$factor; fi
    start_program
    unset QT_SCALE_FACTOR
    wait_geometry "$E2E_DIR/started"
    row=$(check_geometry) || fail "$name: the layout does not fit: $(cat "$GEOMETRY")"
    echo "$name: every element inside the screen, none covering another; results row $row"
    # The row is where the spin's announcement appears.
    E2E_RESULTS_ROW=$row
    spin_with space 10
    sleep 0.5
    touch "$E2E_DIR/spun"
    wait_geometry "$E2E_DIR/spun"
    check_geometry >/dev/null || fail "$name: after the spin the layout does not fit: $(cat "$GEOMETRY")"
    [ -z "$(other_windows)" ] || fail "$name: a window other than the draw screen is open"
    screenshot "$name" >/dev/null
    stop_program
    echo "$name: a spin announced a prize"
}
