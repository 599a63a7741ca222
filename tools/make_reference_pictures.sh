#!/usr/bin/env bash
# Makes the pictures of docs/api.md: each drawing entry's example and the
# palette, drawn by the library on the headless back end
# (tools/reference_pictures.c), cut out of the 600 x 500 picture, small
# ones enlarged pixel for pixel. Writes them to OUT_DIR (default
# docs/pictures); tests/unattended/reference_pictures_test.sh checks that the
# pictures in docs/ are what the library draws now.
#   tools/make_reference_pictures.sh PROGRAM [OUT_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=$(readlink -f "$1")
out=${2:-$root/docs/pictures}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for what in pixel circle triangle rectangle oval line text palette; do
  (cd "$work" && ZEMKA_SNAPSHOT="$work/$what-full.png" "$program" "$what" </dev/null >/dev/null 2>&1) ||
    { echo "the picture of $what could not be drawn" >&2; exit 1; }
  case $what in
    pixel) geometry=(-crop 64x40+268+228 +repage -filter point -resize 400%) ;;  # 4 x 4 screen pixels a pixel
    palette) geometry=() ;;
    *) geometry=(-crop 240x140+180+180 +repage) ;;
  esac
  convert "$work/$what-full.png" "${geometry[@]}" -strip "PNG24:$out/$what.png"
done
