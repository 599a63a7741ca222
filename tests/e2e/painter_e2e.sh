#!/usr/bin/env bash
# The weather painter under Xvfb with real input: halt, pick Snow and Blue,
# plant a flake, find it on the screen, cease it, and quit with Ctrl+Q.
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
painter=$1
work=$(mktemp -d)
cd "$work"
"$painter" >/dev/null 2>&1 &
pid=$!
find_drawing_window
sleep 0.5
xdotool key ctrl+h
sleep 0.3
click_logical -250 195   # "Snow"
click_logical -250 90    # "Blue"
# A point of cyan sky: before the click it shows the sky.
expect_pixel 0 235 "0,255,255"
click_logical 0 235
expect_pixel 0 235 "0,0,255"
expect_pixel 3 235 "0,0,255"   # the flake's right arm
click_logical -250 20    # "Cease!"
expect_pixel 0 235 "0,255,255"
expect_pixel 3 235 "0,255,255"
xdotool key ctrl+q
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit code $status"
echo "painter end to end: ok"
