#!/usr/bin/env bash
# Recording and playback in the running painter under Xvfb with real input:
# Ctrl+R, clicks and one frame, Ctrl+R write the expected lines; a
# hand-written script played with Ctrl+P plants its glyphs.
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
painter=$1
work=$(mktemp -d)
trap 'kill $pid 2>/dev/null || true; rm -rf "$work"' EXIT

# Recording.
mkdir "$work/rec" && cd "$work/rec"
"$painter" >/dev/null 2>&1 &
pid=$!
find_drawing_window
sleep 0.5
xdotool key ctrl+h
sleep 0.3
xdotool key ctrl+r
click_logical -250 195
click_logical -250 90
click_logical 0 235
sleep 0.3
xdotool key ctrl+f          # exactly one periodic event
sleep 0.5
click_logical 50 235
sleep 0.3
xdotool key ctrl+r
sleep 0.3
expected=$'ZEMKA_MOUSE(-250, 195);\nZEMKA_MOUSE(-250, 90);\nZEMKA_MOUSE(0, 235);\nZEMKA_PERIODIC(1);\nZEMKA_MOUSE(50, 235);'
[ "$(cat ZEMKA.SCR)" = "$expected" ] || { echo "--- ZEMKA.SCR:"; cat ZEMKA.SCR; fail "recorded lines differ"; } >&2
expect_pixel 0 232 "0,0,255"   # one frame moved it 3 down
expect_pixel 50 235 "0,0,255"
xdotool key ctrl+q
wait "$pid" || fail "painter failed while recording"

# Playback of a hand-written script.
mkdir "$work/play" && cd "$work/play"
printf '%s\n' 'ZEMKA_MOUSE(-250, 195);' 'ZEMKA_MOUSE(-250, 90);' '' 'ZEMKA_MOUSE(-100, 235);' \
  'ZEMKA_MOUSE(100, 235);' >ZEMKA.SCR
"$painter" >/dev/null 2>&1 &
pid=$!
find_drawing_window
sleep 0.5
expect_pixel -100 235 "0,255,255"
xdotool key ctrl+p
expect_pixel -100 235 "0,0,255"
expect_pixel 100 235 "0,0,255"
xdotool key ctrl+q
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit code $status"
echo "scripts end to end: ok"
