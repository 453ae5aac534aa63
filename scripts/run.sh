#!/usr/bin/env bash
# Builds the program and starts the loader's main window (under Xvfb when no display is set).
# Without arguments it shows the program's main job on a simulated TD-A keypad: the example key
# file is loaded from the command line, the keypad is found a second after start, the keys are
# downloaded and the window closes by itself after the success. Arguments given to the script go
# to the program instead (a real keypad: just a file, or nothing at all).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

build=build
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTDXX_BUILD_TESTS=OFF
cmake --build "$build" -j"$(nproc)" --target tdxxload tdxxload-cli

if [ $# -eq 0 ]; then
  set -- --simulate=td-a examples/td-a-function-keys.ckd
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a "$build/src/tdxxload" "$@"
fi
exec "$build/src/tdxxload" "$@"
