#!/usr/bin/env bash
# Measures the painter's web page in headless Chromium: module size, time
# to the first frame, CPU while halted and idle, and a frame with 500
# flakes drawn by the library against the browser's 2D canvas.
#   tools/measure_web.sh
set -euo pipefail
cd "$(dirname "$0")/.."
site=${ZEMKA_WEB_BUILD:-$PWD/build-web}/site
tools/build-web.sh "$site" > /dev/null
if [[ ! -d tests/web/node_modules/puppeteer-core ]]; then
  (cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund > /dev/null)
fi
node tests/web/measure_web.mjs "$site" zemka/draw/palette.cpp
