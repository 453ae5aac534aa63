#!/usr/bin/env bash
# Builds the program and starts the loader's main window (under Xvfb when no display is set).
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

build=build
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTDXX_BUILD_TESTS=OFF
cmake --build "$build" -j"$(nproc)" --target tdxxload tdxxload-cli

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec xvfb-run -a "$build/src/tdxxload" "$@"
fi
exec "$build/src/tdxxload" "$@"
