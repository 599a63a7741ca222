#!/usr/bin/env bash
# The painter replays examples/weather-demo.scr under wine and on Linux;
# the two snapshots must be equal pixel for pixel outside the rectangles
# where text is drawn (each system draws text with its own fonts): the
# seven labels inside the panel's button frames and the hint line.
#   replay_compare_test.sh WINDOWS_PAINTER_EXE LINUX_PAINTER DEMO_SCRIPT
set -euo pipefail
. "$(dirname "$0")/wine_lib.sh"
exe=$1 linux=$2 script=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$script" "$work/demo.scr"
start=$(date +%s%N)
(cd "$work" && ZEMKA_PLAY=demo.scr ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_SNAPSHOT=windows.png \
  timeout 120 "$WINE" "$exe" >/dev/null 2>"$work/windows.err") || { cat "$work/windows.err" >&2; fail "the Windows replay failed"; }
echo "Windows replay under wine: $((($(date +%s%N) - start) / 1000000)) ms"
(cd "$work" && ZEMKA_PLAY=demo.scr ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_SNAPSHOT=linux.png QT_QPA_PLATFORM=offscreen \
  timeout 120 "$linux" >/dev/null 2>"$work/linux.err") || { cat "$work/linux.err" >&2; fail "the Linux replay failed"; }
[ -s "$work/windows.png" ] || fail "no snapshot from the Windows replay"
[ -s "$work/linux.png" ] || fail "no snapshot from the Linux replay"
[ "$(identify -format '%wx%h' "$work/windows.png")" = 600x500 ] || fail "the Windows snapshot is not 600 x 500"
# Text rectangles (pixels): labels inside the button frames (x 4..100,
# rows 2 + 35 i .. 37 + 35 i), the hint line at logical (-285, -220).
masks=()
for i in 0 1 2 3 4 5 6; do masks+=(-draw "rectangle 5,$((3 + 35 * i)) 99,$((36 + 35 * i))"); done
masks+=(-draw "rectangle 10,452 440,480")
for os in windows linux; do
  convert "$work/$os.png" -alpha off -fill magenta "${masks[@]}" "$work/$os-masked.png"
done
differing=$(compare -metric AE "$work/windows-masked.png" "$work/linux-masked.png" null: 2>&1 || true)
[ "$differing" = 0 ] || fail "$differing pixels differ outside the text"
# The masks hide only text: the label and hint areas really differ, so
# the comparison above looked at pictures drawn by both systems.
all=$(compare -metric AE "$work/windows.png" "$work/linux.png" null: 2>&1 || true)
[ "$all" != 0 ] || fail "the snapshots are identical even in the text, which cannot be"
echo "replay snapshots equal outside the text ($all pixels of text differ): ok"
