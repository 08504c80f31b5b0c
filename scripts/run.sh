#!/usr/bin/env bash
# Sets up the machine, builds the program and starts it from the build tree, where the simulated
# instrument answers in place of a real one.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${ZRV_SKIP_DEPS:-0}" != "1" ]; then
  bash scripts/install-deps.sh
fi
cmake -S . -B build -G Ninja
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"

if [ -x build/bin/zrv10 ]; then
  cd build/bin && exec ./zrv10 "$@"
fi
# Until the desktop program exists, the command-line companion is what there is to start.
exec build/bin/zrv10-cli "${@:---help}"
