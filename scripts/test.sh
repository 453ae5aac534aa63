#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test:
# a short bounded run of each file reader's fuzz target, the threaded suites (transport, device
# protocol, simulated devices) once more under ThreadSanitizer, then the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

./scripts/install-deps.sh

./scripts/fuzz.sh

# The pump threads and the simulated bus under ThreadSanitizer.
tsan=build-tsan
cmake -S . -B "$tsan" -DCMAKE_BUILD_TYPE=Debug -DTDXX_TSAN=ON -DTDXX_WERROR=ON -DTDXX_BUILD_GUI=OFF \
  -DTDXX_BUILD_BENCH=OFF >/dev/null
cmake --build "$tsan" -j"$(nproc)" --target test_hid test_protocol test_sim
for suite in test_hid test_protocol test_sim; do
  echo "ThreadSanitizer: $suite"
  TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" "$tsan/tests/$suite" --gtest_brief=1
done

build=build-test
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DTDXX_SANITIZE=ON -DTDXX_WERROR=ON
cmake --build "$build" -j"$(nproc)"

export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_stack_use_after_return=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2 --timeout 300
