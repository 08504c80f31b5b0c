#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up the machine, builds everything and runs every test.
#   scripts/test.sh              normal build in build/, all tests
#   scripts/test.sh --sanitize   AddressSanitizer + UndefinedBehaviorSanitizer build in build-sanitize/,
#                                core tests only (and only what they need is built)
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=0
[ "${1:-}" = "--sanitize" ] && sanitize=1

if [ "${ZRV_SKIP_DEPS:-0}" != "1" ]; then
  bash scripts/install-deps.sh
fi

jobs=$(nproc 2>/dev/null || echo 2)
if [ "$sanitize" = 1 ]; then
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZRV_SANITIZE=ON -DZRV_BUILD_BENCH=OFF
  cmake --build build-sanitize -j "$jobs" --target zrv_core_tests
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build-sanitize -L core --output-on-failure -j "$jobs"
else
  cmake -S . -B build -G Ninja
  cmake --build build -j "$jobs"
  ctest --test-dir build --output-on-failure -j "$jobs"
fi
