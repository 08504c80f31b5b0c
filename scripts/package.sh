#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and its Debian package. Progress goes to standard error; the last line of
# standard output is the path of the zrv10_<version>_<arch>.deb made. Install it with
#   sudo apt install ./build/zrv10_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${ZRV_SKIP_DEPS:-0}" != "1" ]; then
  bash scripts/install-deps.sh >&2
fi

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja >&2
cmake --build build -j "$jobs" >&2
rm -f build/zrv10_*.deb
(cd build && cpack -G DEB) >&2
deb=$(ls build/zrv10_*.deb)
realpath "$deb"
