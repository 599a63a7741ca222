#!/usr/bin/env bash
# The pictures in docs/pictures are what the library draws now, pixel for
# pixel: made again into a folder of the test's own and compared.
#   reference_pictures_test.sh REFERENCE_PICTURES_PROGRAM
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
echo "the 8 pictures of docs/api.md are what the library draws: ok"
