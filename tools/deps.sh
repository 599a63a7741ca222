#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need
# (the Qt and headless back ends; the Windows and web ones have their own).
# As root it installs what is missing; otherwise it prints the install line
# and fails.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ ccache pkg-config
  qt6-base-dev libgl-dev libfreetype-dev
  libgtest-dev libbenchmark-dev libcairo2-dev
  clang libclang-rt-14-dev
  fonts-dejavu-core
  xvfb xdotool x11-utils imagemagick openbox python3-pil
  dpkg-dev file binutils valgrind python3 bubblewrap
)

. "$(dirname "$0")/apt_lib.sh"
install_missing "${PACKAGES[@]}"
