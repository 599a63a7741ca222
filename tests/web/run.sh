#!/usr/bin/env bash
# The web tests: builds the pages and the playground (tools/build-web.sh),
# the Linux painter for the reference replay picture, and runs
# tests/web/web_test.mjs in headless Chromium against pages served from
# 127.0.0.1 on a free port, then the playground's tests and the toolkit
# conformance test (conformance_test.mjs) in Chromium and in Firefox ESR.
# Prints "N passed, N failed" last and exits non-zero on a failure.
#   tests/web/run.sh [LINUX_PAINTER]
# LINUX_PAINTER: a desktop weather-painter to make the reference picture
# with; without it one is built in build-web-linux.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${ZEMKA_WEB_BUILD:-$root/build-web}
site=$build/site

fail() {
  echo "web tests: $*" >&2
  echo "0 passed, 1 failed"
  exit 1
}

mkdir -p "$build"
"$root/tools/build-web.sh" "$site" > "$build/web-build.log" 2>&1 ||
  { tail -30 "$build/web-build.log" >&2; fail "the web build failed"; }

# The reference: the desktop painter replays the same script offscreen.
painter=${1:+$(realpath "$1")}
if [[ -z $painter ]]; then
  linux=$root/build-web-linux
  mkdir -p "$linux"
  { cmake -S "$root" -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEMKA_TESTS=OFF \
      -DZEMKA_EXAMPLES=OFF && cmake --build "$linux" -j2 --target weather-painter; } > "$linux/build.log" 2>&1 ||
    { tail -30 "$linux/build.log" >&2; fail "the Linux painter could not be built"; }
  painter=$linux/weather-painter
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && QT_QPA_PLATFORM=offscreen ZEMKA_PLAY="$root/examples/weather-demo.scr" ZEMKA_QUIT_AFTER_PLAY=1 \
  ZEMKA_SNAPSHOT="$work/reference.png" timeout 60 "$painter" > "$work/painter.log" 2>&1) ||
  { cat "$work/painter.log" >&2; fail "the Linux replay failed"; }
[[ -s $work/reference.png ]] || fail "the Linux replay wrote no picture"

if [[ ! -d $here/node_modules/puppeteer-core ]]; then
  (cd "$here" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund > "$work/npm.log" 2>&1) ||
    { cat "$work/npm.log" >&2; fail "npm ci failed (run tools/deps-web.sh)"; }
fi
# A program of one's own through the zemka command: its Linux replay (zemka
# run) is the reference for its page (zemka web) and its one-file page
# (zemka web --single-file).
. "$root/tests/support/own_program.sh"
own=$work/own
mkdir -p "$own"
write_own_programs "$own"
(cd "$own" && QT_QPA_PLATFORM=offscreen ZEMKA_PLAY=boxes.scr ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_SNAPSHOT=reference.png \
  ZEMKA_MOVIE=reference.gif \
  XDG_CACHE_HOME="$work/cache" timeout 120 "$root/tools/zemka" run boxes.c > run.log 2>&1) ||
  { cat "$own/run.log" >&2; fail "zemka run failed on a program of one's own"; }
(cd "$own" && ZEMKA_WEB_SDK=$build/sdk "$root/tools/zemka" web boxes.c -o web > web.log 2>&1 &&
  ZEMKA_WEB_SDK=$build/sdk "$root/tools/zemka" web --single-file boxes.c -o single/boxes.html >> web.log 2>&1) ||
  { cat "$own/web.log" >&2; fail "zemka web failed on a program of one's own"; }
cp "$own/boxes.scr" "$own/web/"
export ZEMKA_OWN_WEB=$own/web ZEMKA_OWN_SINGLE=$own/single/boxes.html ZEMKA_OWN_REFERENCE=$own/reference.png \
  ZEMKA_OWN_SCRIPT=$own/boxes.scr ZEMKA_OWN_MOVIE=$own/reference.gif ZEMKA_GALLERY=$build/gallery \
  ZEMKA_WEB_SDK=$build/sdk
status=0
node "$here/web_test.mjs" "$site" "$work/reference.png" || status=1
# The playground, in both browsers: a program the test types, against its
# Linux replay.
mkdir -p "$work/pg"
node "$here/playground_test.mjs" --write-program "$work/pg"
(cd "$work/pg" && ZEMKA_PLAY=typed.scr ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_SNAPSHOT=reference.png \
  XDG_CACHE_HOME="$work/cache" timeout 120 "$root/tools/zemka" run --headless typed.c > run.log 2>&1) ||
  { cat "$work/pg/run.log" >&2; fail "zemka run --headless failed on the playground's program"; }
for browser in chromium firefox; do
  node "$here/playground_test.mjs" "$site" --browser "$browser" --reference "$work/pg/reference.png" || status=1
done
# The toolkit conformance test, in both browsers: the test's program made a
# page, against its headless picture after the same draw.
conformance=$work/conformance
node "$here/conformance_test.mjs" --write-program "$conformance"
(cd "$conformance" && ZEMKA_PLAY=draw.scr ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_SNAPSHOT=reference.png \
  XDG_CACHE_HOME="$work/cache" timeout 120 "$root/tools/zemka" run --headless conformance.c > run.log 2>&1) ||
  { cat "$conformance/run.log" >&2; fail "zemka run --headless failed on the conformance test's program"; }
(cd "$conformance" && ZEMKA_WEB_SDK=$build/sdk "$root/tools/zemka" web conformance.c -o web > web.log 2>&1) ||
  { cat "$conformance/web.log" >&2; fail "zemka web failed on the conformance test's program"; }
for browser in chromium firefox; do
  node "$here/conformance_test.mjs" "$conformance/web" --browser "$browser" --reference "$conformance/reference.png" ||
    status=1
done
exit $status
