#!/usr/bin/env bash
# On a 1024 x 768 projector the shipped layout is scaled down to fit: the title, the wheel with
# the pointer, the prize pictures, the prize names and the results row all lie inside the
# screen and clear of each other, and a spin works there.
E2E_WIDTH=1024 E2E_HEIGHT=768
source "$(dirname "$0")/lib.sh" "$@"
source "$(dirname "$0")/screen_fit.sh"

start_display
fit_check fit-1024x768
finish "screen fit at 1024x768 ok"
