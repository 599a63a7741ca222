#!/usr/bin/env bash
# Every lesson (examples/lessonNN_*) replays its own script headless and
# shows what it teaches: console lines and pixels of its last picture.
# The lessons that ask with ZEMKA_gets need their answers from standard
# input (examples/NAME.in), which only the headless back end reads: they
# run when the third argument is "with-gets". There, on the headless back
# end, every lesson also runs under valgrind (without the toolkit's noise),
# and any error it reports fails the lesson; a sanitized build is checked
# by its sanitizers instead.
#   lessons_test.sh EXAMPLES_BUILD_DIR PROBE [with-gets]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/example_lib.sh"
built=$1 PROBE=$2 gets=${3:-}
examples=$(cd "$here/../../examples" && pwd)

runner=()
if [ "$gets" = with-gets ] && ! grep -q __asan_init "$built/zemka-example-lesson01_colors"; then
  command -v valgrind >/dev/null || fail "valgrind is not installed (apt-get install valgrind)"
  runner=(valgrind -q --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite
    --suppressions="$here/../longrun/valgrind.supp" --log-file="$WORK/valgrind.txt")
fi

lesson() {  # lesson NAME [SCRIPT [ANSWERS]]: replays it, by default with its own script and answers
  local name=$1 script=${2:-$examples/$1.scr} input=${3:-/dev/null} status=0
  [ $# -lt 3 ] && [ -f "$examples/$name.in" ] && input=$examples/$name.in
  rm -f "$SNAPSHOT"
  (cd "$WORK" && QT_QPA_PLATFORM=offscreen ZEMKA_PLAY="$script" ZEMKA_QUIT_AFTER_PLAY=1 \
    ZEMKA_SNAPSHOT="$SNAPSHOT" ZEMKA_ECHO=1 timeout 120 ${runner[@]+"${runner[@]}"} "$built/zemka-example-$name" \
    <"$input" >"$WORK/stdout.txt" 2>"$CONSOLE") || status=$?
  if [ "$status" -eq 99 ] && [ ${#runner[@]} -gt 0 ]; then
    cat "$WORK/valgrind.txt" >&2
    fail "$name: valgrind found errors"
  fi
  finished "$name" "$status"
}

count=0
lesson lesson01_colors
expect_line "You clicked at (-270, 200)"
expect_line "You clicked at (100, -50)"
expect_picture at 115 175 0,0,255 at -155 -45 255,102,0 at 0 -240 128,128,128
# The axes end at the last points the window shows, as the lesson says.
expect_picture at 299 0 128,128,128 at 0 -249 128,128,128 at -300 0 128,128,128 at 0 250 128,128,128
count=$((count + 1))

lesson lesson02_house
expect_picture at -25 100 255,0,0 at -35 -100 0,0,0 at 210 170 255,255,0 at 0 -200 0,255,0 at 50 0 0,0,0
count=$((count + 1))

lesson lesson03_text
expect_picture some -250 0 50 28 153,0,204 some -250 -60 50 -32 255,102,0
count=$((count + 1))

lesson lesson04_ticks
expect_picture at 150 -40 255,0,0 at 115 -65 0,0,0 at 0 -200 128,128,128 none -300 -20 -100 -60 255,0,0
count=$((count + 1))

lesson lesson05_clicks
expect_lines_matching '^Flower [0-9] at' 5
expect_line "Flower 5 at (0, 150)"
expect_picture at -210 100 255,153,204 at -200 100 255,255,0 at 200 -170 0,255,0
count=$((count + 1))

lesson lesson06_keys
expect_line "The key 'x' does nothing"
expect_picture at 75 50 0,0,255 at 0 0 255,255,255
count=$((count + 1))

lesson lesson08_arrays
expect_picture some -300 250 300 -250 255,0,0 some -300 250 300 -250 0,255,0 some -300 250 300 -250 0,0,255
count=$((count + 1))

lesson lesson09_paddle
expect_line "The ball is lost: 2 lives left"
expect_picture at 30 -226 0,51,153 none -300 -221 -30 -231 0,51,153
# The paddle stops at the picture's edges, x = -300 and 299.
keys() { for _ in $(seq "$2"); do echo "ZEMKA_KBD($1);"; done; }
keys 97 12 >"$WORK/left.scr"
lesson lesson09_paddle "$WORK/left.scr"
expect_picture at -200 -226 0,51,153 at -199 -226 255,255,255
keys 100 20 >"$WORK/right.scr"
lesson lesson09_paddle "$WORK/right.scr"
expect_picture at 199 -226 0,51,153 at 198 -226 255,255,255
count=$((count + 1))

lesson lesson10_clock
expect_line "Stopped at 15.0 s"
expect_picture at 60 0 255,0,0 at 0 100 255,255,153 at 0 60 255,255,153
count=$((count + 1))

lesson lesson11_paint
expect_picture at -50 75 255,0,0 at 100 -100 0,0,255 at -200 100 0,0,0 none -60 -10 60 -60 0,0,255
count=$((count + 1))

lesson lesson12_tree
expect_picture at 0 -200 153,102,51 some -200 150 200 0 0,102,51
count=$((count + 1))

if [ "$gets" = with-gets ]; then
  lesson lesson07_gets
  expect_picture at -75 0 51,204,153 at -25 0 255,255,255
  # No answer at all: ZEMKA_gets returns 0 and fills nothing.
  lesson lesson07_gets "$examples/lesson07_gets.scr" /dev/null
  expect_line "'' is not a number from 1 to 12; I draw 3"
  expect_picture at -175 0 51,204,153 at -125 0 255,255,255
  count=$((count + 1))

  lesson lesson13_chart
  expect_line "'seven' is not a number from 0 to 1000000"
  expect_line "3 bars, the tallest 7"
  expect_picture at -245 -100 255,0,0 at -177 150 0,255,0 at -109 50 0,0,255 at -109 100 255,255,255
  count=$((count + 1))
fi
echo "$count lessons: ok"
