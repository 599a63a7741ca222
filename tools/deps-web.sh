#!/usr/bin/env bash
# Installs, as root on Debian 12, what the web pages, the playground and
# their tests need: clang and lld 22 (the web library and `zemka web`
# programs are built for wasm32-wasi with them, against the sysroot of the
# playground's in-browser clang 22; binaryen's wasm-opt makes pages run
# without Promise Integration), Chromium and Firefox ESR for the
# browser tests, the DejaVu fonts the pages serve, Python and Ninja for the
# build, node and npm; then the npm packages pinned by the lock files:
# web/ (the in-browser compiler, the WASI shim, binaryen, the editor,
# esbuild, fflate) and tests/web/ (the test driver; no browser download:
# the tests use Debian's browsers). Installs only what is missing; as
# another user it prints the install line and fails.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(clang-22 lld-22 llvm-22 binaryen chromium firefox-esr fonts-dejavu-core fonttools python3 cmake ninja-build
          ca-certificates zip)
# A node is already there on some machines (not Debian's); Debian's nodejs
# and npm come only where none is.
command -v node >/dev/null || PACKAGES+=(nodejs)
command -v npm >/dev/null || PACKAGES+=(npm)

. tools/apt_lib.sh
install_missing --no-install-recommends "${PACKAGES[@]}"
# The packages, as the lock files pin them, again whenever a lock file
# changed since the last install.
for dir in web tests/web; do
  if ! [ "$dir/node_modules/.installed" -nt "$dir/package-lock.json" ]; then
    (cd "$dir" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund >/dev/null && touch node_modules/.installed)
  fi
done
