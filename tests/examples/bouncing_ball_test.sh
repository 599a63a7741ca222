#!/usr/bin/env bash
# The bouncing ball: periodic events from a script move it; it bounces off
# the walls and a click puts it somewhere else.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/example_lib.sh"
program=$1 PROBE=$2

# From (0, 0) with steps of (20, 15): x reaches 280 in frame 14 and would
# pass it in frame 15; y would pass 230 in frame 16.
replay "$program" "$here/bouncing_ball.scr"
expect_line "Bounce off the right wall in frame 15"
expect_line "Bounce off the top wall in frame 16"
expect_lines_matching '^Bounce' 2
# After frame 16 the ball is at (240, 220).
expect_picture \
  at 240 220 255,0,0 \
  at 225 220 255,0,0 \
  at 240 245 255,255,255 \
  at 0 0 255,255,255 \
  some -290 -205 -200 -225 0,51,153

# A click puts the ball there; a click far outside puts it at the nearest
# walls, where it bounces and turns round. Two frames after the last click
# it stands at (-140, -70).
replay "$program" "$here/bouncing_ball_click.scr"
expect_line "Halted"
expect_line "Bounce off the right wall in frame 3"
expect_lines_matching '^Bounce' 1
expect_picture \
  at -140 -70 255,0,0 \
  at -100 -100 255,255,255 \
  at -60 -70 255,255,255
echo "bouncing ball example: ok"
