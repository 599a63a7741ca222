#!/usr/bin/env bash
# Builds the web library and the web pages: the library over Emscripten,
# staged as the web SDK that `zemka web` links against (build-web/sdk:
# libzemka.a, zemka_web.js, page.html, link-flags.txt, fonts/), then the
# weather painter and each example made a page by `tools/zemka web` into
# build-web/site (or the folder given), with the demo scripts beside them.
#   tools/build-web.sh [--sdk-only] [SITE_DIR]
# ZEMKA_WEB_BUILD names the build tree (default build-web), ZEMKA_WEB_SDK
# the SDK folder (default the tree's sdk/).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
sdk_only=0
if [ "${1:-}" = --sdk-only ]; then
  sdk_only=1
  shift
fi
build=${ZEMKA_WEB_BUILD:-$root/build-web}
sdk=${ZEMKA_WEB_SDK:-$build/sdk}
site=${1:-$build/site}

# Debian's emcc runs its tools under node and needs node-acorn, found
# through NODE_PATH when the node on PATH is not Debian's own.
export NODE_PATH=${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs
command -v emcmake >/dev/null || { echo "emscripten is missing: run tools/deps-web.sh" >&2; exit 1; }

emcmake cmake -S "$root" -B "$build" -G Ninja -DZEMKA_PLATFORM=web -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DZEMKA_SHARED=OFF -DZEMKA_TESTS=OFF -DZEMKA_EXAMPLES=OFF >/dev/null
cmake --build "$build" -j2 --target zemka
# The SDK, replaced whole.
stage=$(mktemp -d "$build/.sdk-XXXXXX")
trap 'rm -rf "$stage"' EXIT
chmod 755 "$stage"
mkdir -p "$stage/fonts"
cp "$build/libzemka.a" "$build/zemka-web-link-flags.txt" "$stage/"
mv "$stage/zemka-web-link-flags.txt" "$stage/link-flags.txt"
cp "$root/zemka/platform/web/zemka_web.js" "$root/web/page.html" "$stage/"
for f in DejaVuSans.ttf DejaVuSans-Bold.ttf DejaVuSansMono.ttf DejaVuSansMono-Bold.ttf; do
  cp /usr/share/fonts/truetype/dejavu/$f "$stage/fonts/"
done
rm -rf "$sdk"
mkdir -p "$(dirname "$sdk")"
mv "$stage" "$sdk"
trap - EXIT
echo "web SDK in $sdk"
[ $sdk_only = 0 ] || exit 0

# Each program's page, made the way `zemka web` makes anyone's.
export ZEMKA_WEB_SDK=$sdk
mkdir -p "$site"
pids=()
tools/zemka web --name weather-painter -o "$site" painter/*.cpp >/dev/null &
pids+=($!)
for example in examples/*.c examples/*.cpp; do
  # Two links at a time: each takes a core for a few seconds.
  if [ ${#pids[@]} -ge 2 ]; then wait "${pids[0]}"; pids=("${pids[@]:1}"); fi
  tools/zemka web -o "$site" "$example" >/dev/null &
  pids+=($!)
done
for pid in "${pids[@]}"; do wait "$pid"; done
cp "$root"/examples/*.scr "$site/"
echo "web pages in $site"
