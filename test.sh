#!/usr/bin/env bash
# Builds Prize Wheel and runs every test: unit and widget tests, then the end-to-end tests
# that drive the real program under a virtual X server.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
