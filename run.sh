#!/usr/bin/env bash
# Builds Prize Wheel and starts it on the data in its program folder (build/program).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target prize-wheel program-folder
# Pictures are read from the working folder, so the program starts in its own folder.
cd build/program
exec ./prize-wheel
