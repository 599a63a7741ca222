#!/usr/bin/env bash
# The pictures in docs/pictures are what the library draws now, pixel for
# pixel: made again into a folder of the test's own and compared. The
# animations that README.md shows (docs/gallery) are the replays of their
# programs' scripts, byte for byte.
#   reference_pictures_test.sh REFERENCE_PICTURES_PROGRAM PAINTER EXAMPLES_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$root/tools/make_reference_pictures.sh" "$1" "$work"
stale=()
for picture in "$work"/*.png; do
  name=$(basename "$picture")
  [ -f "$root/docs/pictures/$name" ] || { stale+=("$name (missing)"); continue; }
  differ=$(compare -metric AE "$picture" "$root/docs/pictures/$name" null: 2>&1 || true)
  [ "$differ" = 0 ] || stale+=("$name ($differ pixels)")
done
[ $(ls "$work"/*.png | wc -l) -eq 8 ] || { echo "FAIL: not every picture was made" >&2; exit 1; }
if [ ${#stale[@]} -gt 0 ]; then
  echo "FAIL: docs/pictures no longer shows what the library draws: ${stale[*]}" >&2
  echo "(make them again with tools/make_reference_pictures.sh build-headless/zemka-reference-pictures)" >&2
  exit 1
fi
painter=$(readlink -f "$2") examples=$(readlink -f "$3")
for gif in "$root"/docs/gallery/*.gif; do
  name=$(basename "$gif" .gif)
  if [ "$name" = weather-painter ]; then
    program=$painter script=$root/examples/weather-demo.scr
  else
    program=$examples/zemka-example-$name script=$root/examples/$name.scr
  fi
  input=/dev/null
  [ -f "$root/examples/$name.in" ] && input=$root/examples/$name.in
  (cd "$work" && ZEMKA_PLAY="$script" ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_MOVIE="$work/$name.gif" "$program" <"$input" \
    >/dev/null 2>&1) || { echo "FAIL: $name could not be replayed" >&2; exit 1; }
  cmp -s "$work/$name.gif" "$gif" || stale+=("docs/gallery/$name.gif")
done
if [ ${#stale[@]} -gt 0 ]; then
  echo "FAIL: ${stale[*]} no longer what the replay gives (tools/build-web.sh makes them: build-web/site/NAME.gif)" >&2
  exit 1
fi
echo "the 8 pictures of docs/api.md and the $(ls "$root"/docs/gallery/*.gif | wc -l) animations of README.md are what the library draws: ok"
