#!/usr/bin/env bash
# Installs, as root on Debian 12, what the web pages and their tests need:
# Debian's emscripten with the node-acorn its tools use, Chromium for the
# headless tests, the DejaVu fonts the pages serve, Python and Ninja for the
# build, node and npm for the test driver, and the driver's npm packages
# pinned in tests/web/package-lock.json (no browser download: the tests use
# Debian's Chromium). Installs only what is missing; as another user it
# prints the install line and fails.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(emscripten node-acorn chromium fonts-dejavu-core fonttools python3 cmake ninja-build ca-certificates zip)
# A node is already there on some machines (not Debian's); Debian's nodejs
# and npm come only where none is.
command -v node >/dev/null || PACKAGES+=(nodejs)
command -v npm >/dev/null || PACKAGES+=(npm)

. tools/apt_lib.sh
install_missing --no-install-recommends "${PACKAGES[@]}"
# The test driver, as the lock file pins it.
if ! [ -d tests/web/node_modules/puppeteer-core ]; then
  (cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund >/dev/null)
fi
