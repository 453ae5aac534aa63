#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test:
# a short bounded run of each file reader's fuzz target, then the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

./scripts/fuzz.sh

build=build-test
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DTDXX_SANITIZE=ON
cmake --build "$build" -j"$(nproc)"

export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_stack_use_after_return=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2 --timeout 300
