#!/bin/bash
# Rebuilds the picture generator and rewrites the shipped pictures in assets/.
# Usage: tools/make_pictures.sh [build directory]   (default: build-pics beside the sources)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-pics}
cmake -S "$root" -B "$build" -DPW_BUILD_TOOLS=ON >/dev/null
cmake --build "$build" -j2 --target make_pictures
QT_QPA_PLATFORM=offscreen "$build/tools/make_pictures" "$root/assets"
