#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVIK_BUILD_TESTS=OFF \
  -DTARVIK_BUILD_BENCH=OFF
cmake --build "$build" -j "$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "tarvik-timer needs a desktop session or an X server to show its window;" \
       "none was found (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
  echo "Built: $build/src/app/tarvik-timer" >&2
  exit 1
fi
exec "$build/src/app/tarvik-timer" "$@"
