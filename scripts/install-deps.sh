#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package needed to build, test and run the program.
# Idempotent and non-interactive; nothing is fetched from anywhere but Debian's archive.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev qt6-qpa-plugins
  libgl-dev fonts-dejavu-core qt6-translations-l10n
  libzip-dev libpugixml-dev libfreexl-dev libusb-1.0-0-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev libxml2-dev
  clang-format xvfb xauth
  libreoffice-calc-nogui python3
  clang libclang-rt-14-dev
  python3-openpyxl poppler-utils libxlsxwriter-dev
  desktop-file-utils appstream dpkg-dev file shared-mime-info xdg-utils
  qt6-svg-dev
  zlib1g-dev
)

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${packages[@]}"
