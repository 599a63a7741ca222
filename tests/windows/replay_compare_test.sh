#!/usr/bin/env bash
# The painter replays examples/weather-demo.scr under wine and on Linux;
# the two snapshots must be equal pixel for pixel outside the text
# (tests/support/same_geometry.sh).
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
. "$(dirname "$0")/../support/same_geometry.sh"
same_geometry "$work/windows.png" "$work/linux.png"
