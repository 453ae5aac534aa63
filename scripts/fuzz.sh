#!/usr/bin/env bash
# Runs each file reader's libFuzzer target for a short, bounded time (skipped without clang).
# New inputs collect in build-fuzz/corpus/<target>, starting from the seeds in fuzz/corpus/<target>;
# a crashing input is kept in build-fuzz/artifacts/<target>/ and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++ >/dev/null 2>&1; then
  echo "clang++ not found: fuzz targets skipped"
  exit 0
fi
build=build-fuzz
seconds="${FUZZ_SECONDS:-20}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTDXX_BUILD_GUI=OFF -DTDXX_BUILD_TESTS=OFF -DTDXX_BUILD_BENCH=OFF -DTDXX_FUZZ=ON -DTDXX_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_targets

status=0
for target in "$build"/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name="$(basename "$target")"
  corpus="$build/corpus/$name"
  artifacts="$build/artifacts/$name/"
  mkdir -p "$corpus" "$artifacts"
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
  echo "fuzzing $name for $seconds s"
  output="$build/$name.log"
  if "$target" -max_total_time="$seconds" -rss_limit_mb=1024 -print_final_stats=0 \
    -artifact_prefix="$artifacts" "$corpus" "${seeds[@]}" >"$output" 2>&1; then
    tail -n 1 "$output"
  else
    tail -n 40 "$output"
    echo "$name failed; the input is in $artifacts"
    status=1
  fi
done
exit "$status"
