#!/usr/bin/env bash
# Installs, as root on Debian 12, what the Windows build and its tests need:
# the MinGW-w64 cross compilers for x86_64 and i686, wine to run the x86_64
# build, GoogleTest's sources for the cross-built unit tests, an X
# server with input tools for the end-to-end runs, llvm-dlltool for the
# SDK's zemka.lib, and clang with lld-link to check that programs built for
# Microsoft's compiler link against it. Installs only what is
# missing; as another user it prints the install line and fails.
set -euo pipefail
PACKAGES=(
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64
  xvfb xdotool x11-utils
  googletest
  imagemagick cmake ninja-build zip unzip
  llvm-14 lld-14 clang
)
. "$(dirname "$0")/apt_lib.sh"
install_missing --no-install-recommends "${PACKAGES[@]}"
