#!/usr/bin/env bash
# Synthesises the two shipped clips and encodes them as MP3:
#   assets/sound/摇奖中.mp3  spin clip: ratchet clicks that speed up and slow down over a rising tone
#   assets/sound/中奖后.mp3  win clip:  bright major arpeggio ending on a held chord
# Needs sox and lame (apt-get install -y sox lame). sox runs in repeatable mode (-R), so the
# clips only change when this script does.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out_dir=${1:-$root/assets/sound}
rate=44100
bitrate=96

for tool in sox lame awk; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out_dir"

synth() { sox -R -V1 -n -r "$rate" -c 1 -b 16 "$@"; }

encode() { # wav mp3
    lame --quiet -m m -b "$bitrate" --resample 44.1 "$1" "$2"
}

# ---- spin clip -------------------------------------------------------------------------------
spin_len=2.0
click=0.014

# One ratchet click: a band-limited noise tick with a tonal knock under it, decaying fast.
synth "$work/tick.wav" synth "$click" whitenoise band 3200 1800 fade q 0 "$click" 0.012 gain -2
synth "$work/knock.wav" synth "$click" square 1400 fade q 0 "$click" 0.013 gain -10
sox -R -V1 -m "$work/tick.wav" "$work/knock.wav" "$work/click.wav"

# Gaps between clicks: slow at the start, fastest in the middle, slowing again towards the end,
# like a wheel being flung and coming to rest.
awk -v len=1.85 'BEGIN {
    t = 0; n = 0
    while (t < len) {
        p = t / len
        gap = 0.034 + 0.115 * (2 * p - 1) ^ 2
        printf "%.4f\n", gap
        t += gap; n++
    }
}' >"$work/gaps.txt"

i=0
while read -r gap; do
    i=$((i + 1))
    pad=$(awk -v g="$gap" -v c="$click" 'BEGIN { printf "%.4f", g - c }')
    sox -R -V1 "$work/click.wav" "$work/c_$(printf %03d "$i").wav" pad 0 "$pad"
done <"$work/gaps.txt"
sox -R -V1 "$work"/c_*.wav "$work/clicks.wav" pad 0 1 trim 0 "$spin_len"

# The rising tone: two detuned sweeps an octave apart for body, kept under the clicks.
synth "$work/tone.wav" synth "$spin_len" triangle 196-587 synth "$spin_len" sine mix 392-1175 \
    tremolo 9 35 fade t 0.15 "$spin_len" 0.35 gain -16

sox -R -V1 -m -v 1 "$work/clicks.wav" -v 1 "$work/tone.wav" "$work/spin.wav" \
    fade t 0.01 "$spin_len" 0.2 norm -1
encode "$work/spin.wav" "$out_dir/摇奖中.mp3"

# ---- win clip --------------------------------------------------------------------------------
# C major: C5 E5 G5 C6, then the full chord with the top doubled an octave up.
note() { # frequency length file
    synth "$3" synth "$2" sawtooth "$1" synth "$2" square mix "$1" \
        lowpass 4200 fade t 0.006 "$2" 0.05 gain -12
}
note 523.25 0.15 "$work/n1.wav"
note 659.25 0.15 "$work/n2.wav"
note 783.99 0.15 "$work/n3.wav"
note 1046.50 0.17 "$work/n4.wav"

chord_len=1.35
sox -R -V1 -r "$rate" -c 5 -n -c 1 -b 16 "$work/chord5.wav" \
    synth "$chord_len" sawtooth 523.25 sawtooth 659.25 sawtooth 783.99 \
    sawtooth 1046.50 sine 2093.00 \
    remix - lowpass 5000 tremolo 6 12 fade t 0.01 "$chord_len" 0.9 gain -14
# A short shimmer on the chord's attack makes it sparkle.
synth "$work/shimmer.wav" synth 0.6 pinknoise highpass 6000 fade q 0.005 0.6 0.55 gain -18
sox -R -V1 -m "$work/chord5.wav" "$work/shimmer.wav" "$work/chord.wav"

sox -R -V1 "$work/n1.wav" "$work/n2.wav" "$work/n3.wav" "$work/n4.wav" "$work/chord.wav" \
    "$work/win_dry.wav"
sox -R -V1 "$work/win_dry.wav" "$work/win.wav" reverb 35 50 60 trim 0 2.1 fade t 0 2.1 0.25 norm -1
encode "$work/win.wav" "$out_dir/中奖后.mp3"

for f in "$out_dir/摇奖中.mp3" "$out_dir/中奖后.mp3"; do
    printf '%s: %s s, %s bytes\n' "$(basename "$f")" "$(soxi -D "$f" 2>/dev/null || echo '?')" \
        "$(stat -c %s "$f")"
done
