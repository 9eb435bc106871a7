#!/usr/bin/env bash
# Writes a PNG of every window and tab of the program, with sample data, into a folder
# (build/screenshots unless one is given). Offscreen: no display is needed.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/screenshots}
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target orvane-screenshots
rm -rf "$out"
QT_QPA_PLATFORM=offscreen ./build/tests/app/orvane-screenshots "$out"
