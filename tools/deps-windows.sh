#!/bin/sh
# Installs what the Windows build and its tests need on Debian 12, as root:
# the MinGW-w64 cross compilers for x86_64 and i686, wine to run the x86_64
# build, and an X server with input tools for the end-to-end runs.
set -eu
if [ "$(id -u)" -ne 0 ]; then
    echo "deps-windows.sh: run as root (apt-get install)" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends \
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix \
    binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 \
    wine wine64 \
    xvfb xdotool x11-utils \
    googletest \
    imagemagick cmake ninja-build zip
