#!/usr/bin/env bash
# On a 3840 x 2160 screen the shipped layout fills the screen, once scaled by the program
# itself and once through 2x desktop scaling: every element inside the screen and clear of the
# others, and a spin works in both.
E2E_WIDTH=3840 E2E_HEIGHT=2160
source "$(dirname "$0")/lib.sh" "$@"
source "$(dirname "$0")/screen_fit.sh"

start_display
fit_check fit-3840x2160
fit_check fit-3840x2160-scale2 2
finish "screen fit at 3840x2160 ok"
