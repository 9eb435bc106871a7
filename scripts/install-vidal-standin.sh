#!/usr/bin/env bash
# Builds the stand-in Vidal access program and copies it into Orvane's program folder as
# "accesvidalcd.exe": the "Vidal" button of the prescriptions page is enabled from the next start.
# With --remove, takes it away again.
set -euo pipefail
cd "$(dirname "$0")/.."

folder="${XDG_DATA_HOME:-$HOME/.local/share}/orvane/drive_c/Orvane"
target="$folder/accesvidalcd.exe"

if [ "${1:-}" = "--remove" ]; then
  rm -f "$target"
  echo "Removed: $target"
  exit 0
fi

cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" --target accesvidalcd
mkdir -p "$folder"
install -m 755 build/vidal/standin/accesvidalcd "$target"
echo "Installed: $target"
