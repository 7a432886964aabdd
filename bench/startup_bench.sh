#!/usr/bin/env bash
# Start-up of the real program against a minimal Qt Widgets program that shows the same
# background picture maximised: time from launch to the first frame showing the settled
# background, and peak memory (VmHWM) at that moment, each the median of N runs under a
# virtual X server with a window manager. Both are watched from outside the same way.
# In the same run, the program once more with the operator's own photos in pic/: a 48-megapixel
# JPEG background and eight 12-megapixel JPEG prize photos, each with its camera's thumbnail,
# made by bench_make_photo (kept in the build folder once made), against the shipped pictures:
# time to the first frame of the restored screen and memory resident then; the same photos at
# a first start, before the program's picture cache holds them; and that first start again with
# prize photos that have lost their thumbnails (saved again by an editor that drops EXIF).
# Usage: bench/startup_bench.sh [build dir, default build-bench] [runs, default 10]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build-bench}")
runs=${2:-10}
driver=$build/bench/bench_startup_driver
minimal=$build/bench/bench_minimal_window
make_photo=$build/bench/bench_make_photo
[ -x "$build/program/prize-wheel" ] && [ -x "$driver" ] && [ -x "$minimal" ] &&
    [ -x "$make_photo" ] || {
    echo "build $build first (targets prize-wheel program-folder bench_startup_driver" \
        "bench_minimal_window bench_make_photo)" >&2
    exit 2
}

work_prefix=pw-startup
source bench/xvfb.sh # the script runs from the repository root

cp -r "$build/program" "$work/program"
# Both from the program folder, so both find pic/背景.png the same way.
"$driver" --runs "$runs" --cwd "$work/program" --label real -- ./prize-wheel | tee "$work/real.txt"
"$driver" --runs "$runs" --cwd "$work/program" --label minimal -- "$minimal" pic/背景.png |
    tee "$work/minimal.txt"

photos=$build/bench-camera-photos
edited=$build/bench-edited-photos
mkdir -p "$photos" "$edited"
[ -s "$photos/背景.png" ] || "$make_photo" 8000 6000 1 "$photos/背景.png"
for k in 1 2 3 4 5 6 7 8; do
    [ -s "$photos/$k.png" ] || "$make_photo" 4000 3000 $((k + 1)) "$photos/$k.png"
    [ -s "$edited/$k.png" ] || "$make_photo" 4000 3000 $((k + 1)) "$edited/$k.png" --no-thumbnail
done
cp -r "$build/program" "$work/photos"
cp "$photos"/*.png "$work/photos/pic/"
"$driver" --runs "$runs" --cwd "$work/photos" --label photos -- ./prize-wheel | tee "$work/photos.txt"
# The first start after the photos were put in: nothing of them in the picture cache yet.
"$driver" --runs "$runs" --cwd "$work/photos" --label photos-first \
    --before-each "rm -rf data/picture-cache" -- ./prize-wheel | tee "$work/photos-first.txt"
cp "$edited"/*.png "$work/photos/pic/"
"$driver" --runs "$runs" --cwd "$work/photos" --label photos-first-edited \
    --before-each "rm -rf data/picture-cache" -- ./prize-wheel | tee "$work/photos-edited.txt"

field() { sed -n "s/^STARTUP .* $2=\([0-9.]*\).*/\1/p" "$1"; }
awk -v rt="$(field "$work/real.txt" median_ms)" -v mt="$(field "$work/minimal.txt" median_ms)" \
    -v rm="$(field "$work/real.txt" peak_rss_kb)" -v mm="$(field "$work/minimal.txt" peak_rss_kb)" \
    'BEGIN { printf "STARTUP_RATIO time=%.2f memory=%.2f real_ms=%.1f minimal_ms=%.1f real_kb=%d minimal_kb=%d\n",
             rt / mt, rm / mm, rt, mt, rm, mm }'
awk -v pt="$(field "$work/photos.txt" median_ms)" -v rt="$(field "$work/real.txt" median_ms)" \
    -v pm="$(field "$work/photos.txt" rss_kb)" -v rm="$(field "$work/real.txt" rss_kb)" \
    'BEGIN { printf "STARTUP_PHOTOS time=%.2f memory=%.2f photos_ms=%.1f shipped_ms=%.1f photos_rss_kb=%d shipped_rss_kb=%d\n",
             pt / rt, pm / rm, pt, rt, pm, rm }'
awk -v pt="$(field "$work/photos-first.txt" median_ms)" -v rt="$(field "$work/real.txt" median_ms)" \
    -v pm="$(field "$work/photos-first.txt" rss_kb)" -v rm="$(field "$work/real.txt" rss_kb)" \
    'BEGIN { printf "STARTUP_PHOTOS_FIRST time=%.2f memory=%.2f photos_ms=%.1f shipped_ms=%.1f photos_rss_kb=%d shipped_rss_kb=%d\n",
             pt / rt, pm / rm, pt, rt, pm, rm }'
awk -v pt="$(field "$work/photos-edited.txt" median_ms)" -v rt="$(field "$work/real.txt" median_ms)" \
    'BEGIN { printf "STARTUP_PHOTOS_FIRST_EDITED time=%.2f photos_ms=%.1f shipped_ms=%.1f\n",
             pt / rt, pt, rt }'
