#!/usr/bin/env bash
# The scribble pad: clicks draw lines dot to dot; keys change the pen,
# lift it and clear the pad.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/example_lib.sh"
program=$1 PROBE=$2

# A black line, then a red one five pixels wide after lifting the pen.
replay "$program" "$here/scribble_lines.scr"
expect_line "Pen colour red"
expect_line "Pen width 5"
expect_line "Pen lifted"
expect_picture \
  at -100 0 0,0,0 \
  at 0 0 0,0,0 \
  at 100 0 0,0,0 \
  at 0 -150 255,0,0 \
  at 2 -150 255,0,0 \
  at -2 -150 255,0,0 \
  at 6 -150 255,255,255 \
  at 50 -50 255,255,255 \
  some -290 249 -100 230 255,0,0

# c clears the pad and lifts the pen; a key beyond ASCII does nothing,
# and a click far outside the window draws nothing that breaks the run.
replay "$program" "$here/scribble_clear.scr"
expect_line "Pad cleared"
expect_no_line "Pen lifted"
expect_picture \
  at 0 0 255,255,255 \
  at -100 0 255,255,255 \
  at 50 50 255,255,255 \
  at 0 150 0,0,0 \
  at 0 100 0,0,0
echo "scribble example: ok"
