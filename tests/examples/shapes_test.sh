#!/usr/bin/env bash
# The shapes example: one call of every drawing entry, then a click.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/example_lib.sh"
program=$1 PROBE=$2

replay "$program" "$here/shapes.scr"

# Logging is on: each drawing call wrote its line, with corrected values.
expect_line "Clearing the graphics window"
expect_line "red circle at (-200,120), radius 40"
expect_line "orange circle at (-200,120), radius 15"
expect_line "green triangle at (-60,80), (60,80), (0,170)"
expect_line "blue rectangle with bounding box (120,170) to (260,80), filled"
expect_line "black rectangle with bounding box (110,180) to (270,60) with line width 3"
expect_line "magenta oval with bounding box (-270,20) to (-130,-60), filled"
expect_line "navy blue oval with bounding box (-280,30) to (-120,-70), line width 4"
expect_line "black line from (-60,20) to (60,-60), width 1"
expect_line "cyan line from (-60,-60) to (60,20), width 8"
expect_line 'navy blue text at (110,20), "ZEMKA says hello"'
expect_line 'black text at (110,-10), "24 colours, 600 x 500"'
expect_line '50% gray text at (110,-40), "that caption had 21 characters"'
expect_lines_matching '^black pixel at \(-?[0-9]+,195\)$' 41
expect_line "Illegal color 99; using RED."
expect_line "red rectangle with bounding box (-288,-200) to (-200,-230), filled"
expect_line "ZEMKA_undo is no longer supported."
# The click at (200, -100): a cross and its coordinates.
expect_line "black line from (194,-100) to (207,-100), width 1"
expect_line "black line from (200,-106) to (200,-93), width 1"
expect_line 'black text at (208,-104), "(200, -100)"'

expect_picture \
  at -200 120 255,102,0 \
  at -200 150 255,0,0 \
  at 0 110 0,255,0 \
  at 190 125 0,0,255 \
  some 105 115 115 125 0,0,0 \
  at -200 -20 255,0,255 \
  some -285 -25 -275 -15 0,51,153 \
  at -30 -40 0,255,255 \
  some 29 -41 31 -39 0,0,0 \
  some 110 40 250 20 0,51,153 \
  at -278 -160 0,0,0 \
  at -86 -160 153,0,204 \
  at 106 -160 255,255,153 \
  at 274 -160 204,204,204 \
  at -244 -215 255,0,0 \
  at 200 -100 0,0,0 \
  at 206 -100 0,0,0 \
  at 200 -94 0,0,0 \
  at 190 -100 255,255,255 \
  at 0 -120 255,255,255
echo "shapes example: ok"
