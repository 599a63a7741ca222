#!/usr/bin/env bash
# Builds the web pages: the weather painter (weather-painter.html, .js,
# .wasm) and a page for each example, with the fonts they use, into
# build-web/site (or the folder given as $1).
#   tools/build-web.sh [SITE_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${ZEMKA_WEB_BUILD:-$root/build-web}
site=${1:-$build/site}

# Debian's emcc runs its tools under node and needs node-acorn, found
# through NODE_PATH when the node on PATH is not Debian's own.
export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs
command -v emcmake >/dev/null || { echo "emscripten is missing: run tools/deps-web.sh" >&2; exit 1; }

emcmake cmake -S "$root" -B "$build" -G Ninja -DZEMKA_PLATFORM=web -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DZEMKA_SHARED=OFF -DZEMKA_TESTS=OFF >/dev/null
cmake --build "$build" -j2

mkdir -p "$site/fonts"
for f in DejaVuSans.ttf DejaVuSans-Bold.ttf DejaVuSansMono.ttf DejaVuSansMono-Bold.ttf; do
  cp /usr/share/fonts/truetype/dejavu/$f "$site/fonts/"
done
# Each program's page: our template with its script put in.
for program in "$build"/weather-painter.js "$build"/examples/zemka-example-*.js; do
  program=${program%.js}
  name=$(basename "$program")
  name=${name#zemka-example-}
  sed "s|<title>ZEMKA</title>|<title>ZEMKA: $name</title>|; s|{{{ SCRIPT }}}|<script async src=\"$name.js\"></script>|" \
    "$root/web/page.html" > "$site/$name.html"
  sed "s|$(basename "$program").wasm|$name.wasm|g" "$program.js" > "$site/$name.js"
  cp "$program.wasm" "$site/$name.wasm"
done
cp "$root"/examples/*.scr "$site/"
echo "web pages in $site"
