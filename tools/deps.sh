#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# As root it installs what is missing; otherwise it prints the install line
# and fails.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ ccache pkg-config
  qt6-base-dev libgl-dev
  libgtest-dev libbenchmark-dev libcairo2-dev
  clang libclang-rt-14-dev
  fonts-dejavu-core
  xvfb xdotool x11-utils imagemagick openbox
  dpkg-dev file binutils
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Install them with:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null
