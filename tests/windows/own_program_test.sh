#!/usr/bin/env bash
# A program of one's own (tests/support/own_program.sh) through the zemka
# command: `zemka windows` makes its zip, the exe runs under wine from the
# unzipped folder with a replay, and its picture equals the Linux replay of
# the same program (`zemka run`) pixel for pixel (it draws no text). The
# 32-bit zip is made and looked into. The animation of the same replay
# (ZEMKA_MOVIE) is the same file, byte for byte, on both systems.
#   own_program_test.sh ZEMKA_COMMAND
set -euo pipefail
. "$(dirname "$0")/wine_lib.sh"
. "$(dirname "$0")/../support/own_program.sh"
zemka=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
write_own_programs "$work"
cd "$work"
QT_QPA_PLATFORM=offscreen ZEMKA_PLAY=boxes.scr ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_SNAPSHOT=linux.png ZEMKA_MOVIE=linux.gif \
  XDG_CACHE_HOME=$work/cache timeout 120 "$zemka" run boxes.c >run.log 2>&1 || { cat run.log >&2; fail "zemka run failed"; }
"$zemka" windows boxes.c >zip.log 2>&1 || { cat zip.log >&2; fail "zemka windows failed"; }
"$zemka" windows --x86 boxes.c -o boxes-32.zip >>zip.log 2>&1 || { cat zip.log >&2; fail "zemka windows --x86 failed"; }
[ -f boxes-win64.zip ] || fail "no boxes-win64.zip"
for zip in boxes-win64.zip boxes-32.zip; do
  [ "$(unzip -Z1 "$zip" | sort | tr '\n' ' ')" = "boxes/ boxes/README.txt boxes/boxes.exe boxes/zemka.dll " ] ||
    fail "$zip holds $(unzip -Z1 "$zip" | tr '\n' ' ')"
done
mkdir friend
(cd friend && unzip -q ../boxes-win64.zip)
# wine runs the exe from its own folder, as a double click does.
(cd friend/boxes && ZEMKA_PLAY=../../boxes.scr ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_SNAPSHOT=windows.png ZEMKA_MOVIE=windows.gif \
  timeout 120 "$WINE" boxes.exe >/dev/null 2>"$work/wine.err") || { cat "$work/wine.err" >&2; fail "boxes.exe failed under wine"; }
[ -s friend/boxes/windows.png ] || fail "no snapshot from boxes.exe"
differing=$(compare -metric AE friend/boxes/windows.png linux.png null: 2>&1 || true)
[ "$differing" = 0 ] || fail "$differing pixels differ between the Windows and the Linux replay"
[ "$(compare -metric AE linux.png -size 600x500 xc:white null: 2>&1 || true)" != 0 ] || fail "the Linux replay drew nothing"
[ -s linux.gif ] && cmp -s friend/boxes/windows.gif linux.gif || fail "the Windows animation differs from the Linux one"
echo "zemka windows: the unzipped exe replays to the Linux picture and animation: ok"
