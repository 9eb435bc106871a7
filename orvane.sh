#!/usr/bin/env bash
# ./orvane.sh run   sets up what is missing, builds, and starts Orvane 2006 on its embedded SQLite base
# ./orvane.sh test  sets up what is missing, builds, and runs every test
# ./orvane.sh bench sets up what is missing, builds, and runs the benchmarks
#                   ([--engine postgresql] [--rtt MS]... [patients...], see bench/orvanebench.cpp)
# ./orvane.sh package sets up what is missing, builds, and makes the Debian package in build/
set -euo pipefail
cd "$(dirname "$0")"

bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"

case "${1:-run}" in
  run)
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      exec xvfb-run -a ./build/app/orvane
    fi
    exec ./build/app/orvane
    ;;
  test)
    cd build
    exec ctest --output-on-failure -j"$(nproc)"
    ;;
  bench)
    cd build
    exec ./bench/orvane-bench "${@:2}"
    ;;
  package)
    exec bash scripts/make-package.sh build
    ;;
  *)
    echo "usage: $0 run|test|bench|package" >&2
    exit 2
    ;;
esac
