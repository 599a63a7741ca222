#!/usr/bin/env bash
# Installs, as root on Debian 12, what the Windows build and its tests need:
# the MinGW-w64 cross compilers for x86_64 and i686, wine to run the x86_64
# build, GoogleTest's sources for the cross-built unit tests, and an X
# server with input tools for the end-to-end runs. Installs only what is
# missing; as another user it prints the install line and fails.
set -euo pipefail
PACKAGES=(
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64
  xvfb xdotool x11-utils
  googletest
  imagemagick cmake ninja-build zip
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages. Install them with:" >&2
  echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
