#!/usr/bin/env bash
# Makes the Debian package orvane_<version>_amd64.deb of a built tree, with CPack, and prints its path.
# Usage: scripts/make-package.sh [build folder [output folder]]   (both default to build/)
set -euo pipefail
build=$(realpath "${1:-$(dirname "$0")/../build}")
out=$(realpath -m "${2:-$build}")
mkdir -p "$out"
rm -f "$out"/orvane_*.deb
if ! cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
  cat "$out/cpack.log" >&2
  exit 1
fi
ls "$out"/orvane_*.deb
