#!/usr/bin/env bash
# Runs each file reader's libFuzzer target for a short, bounded time (skipped without clang).
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++ >/dev/null 2>&1; then
  echo "clang++ not found: fuzz targets skipped"
  exit 0
fi
build=build-fuzz
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTDXX_BUILD_GUI=OFF -DTDXX_BUILD_TESTS=OFF -DTDXX_BUILD_BENCH=OFF -DTDXX_FUZZ=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_targets
for target in "$build"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  echo "fuzzing $(basename "$target") for 20 s"
  "$target" -max_total_time=20 -rss_limit_mb=1024 -print_final_stats=0 2>&1 | tail -n 1
done
