#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up the machine, builds the program and starts it from the build tree, where the simulated
# instrument answers in place of a real one.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${ZRV_SKIP_DEPS:-0}" != "1" ]; then
  bash scripts/install-deps.sh
fi
cmake -S . -B build -G Ninja
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"

# From build/bin, its current directory, where the valve cache files go; the first start reads the
# catalogue from the simulated instrument beside it.
cd build/bin && exec ./zrv10 "$@"
