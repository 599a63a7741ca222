#!/usr/bin/env bash
# A long headless run of the weather painter with logging on: a generated
# script selects Snow and Blue, plants glyphs with picture clicks, then
# plays a run of periodic events (every one a whole frame, every drawing
# call of it logged to the console), and the program quits at its end.
#
# The painter switches logging off at its start and a script cannot carry
# Ctrl+L, so the run uses tests/longrun/painter_logging_driver.cpp: the
# painter's own start-up and loop from painter_core with logging switched
# on instead of off.
#
# It checks that the run ends by itself with exit status 0 (in a build with
# AddressSanitizer, LeakSanitizer then has found no leak of ours), that
# every event was played and every glyph planted, that logging was on, and
# outside a sanitizer build that the resident memory did not grow between
# the middle and the end of the run by more than --rss-slack kB. It prints
# the figures.
#
#   tools/long_run.sh [--periodic N] [--glyphs G] [--build DIR | --binary FILE]
#                     [--valgrind] [--rss-slack KB]
#
# Defaults: 20000 periodic events, 500 glyphs, the build tree build-asan
# (the one ./test makes with the sanitizers), slack 8192 kB. Not part of
# ./test; a short version of it is the test longrun.short.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
periodic=20000
glyphs=500
build=$root/build-asan
binary=
valgrind=0
rss_slack=8192

usage() { sed -n '/^#   tools/,/^# *\[--valgrind/p' "$0" | sed 's/^# //' >&2; exit 2; }
while [ $# -gt 0 ]; do
  case $1 in
    --periodic) periodic=$2; shift 2 ;;
    --glyphs) glyphs=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --binary) binary=$2; shift 2 ;;
    --valgrind) valgrind=1; shift ;;
    --rss-slack) rss_slack=$2; shift 2 ;;
    *) usage ;;
  esac
done
case $periodic$glyphs$rss_slack in *[!0-9]*) usage ;; esac
[ "$glyphs" -le 500 ] || { echo "at most 500 glyphs (the painter's limit)" >&2; exit 2; }

if [ -z "$binary" ]; then
  if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZEMKA_SANITIZE=ON >/dev/null
  fi
  cmake --build "$build" -j2 --target zemka-longrun-painter
  binary=$build/tests/qt/longrun/zemka-longrun-painter
fi

[ -x "$binary" ] || { echo "no program $binary" >&2; exit 2; }
binary=$(cd "$(dirname "$binary")" && pwd)/$(basename "$binary")
work=$(mktemp -d /tmp/zemka-longrun-XXXXXX)
trap 'rm -rf "$work"' EXIT
script=$work/long.scr
{
  echo "ZEMKA_MOUSE(-250, 195);"  # Snow
  echo "ZEMKA_MOUSE(-250, 90);"   # Blue
  # Picture clicks at x in -190..290, y in -90..240, from a small fixed
  # generator, so every run plays the same script.
  awk -v n="$glyphs" 'BEGIN {
    s = 1
    for (i = 0; i < n; i++) {
      s = (s * 75 + 74) % 65537; x = -190 + s % 481
      s = (s * 75 + 74) % 65537; y = -90 + s % 331
      printf "ZEMKA_MOUSE(%d, %d);\n", x, y
    }
  }'
  echo "ZEMKA_PERIODIC($periodic);"
} >"$script"

# The toolkit's own leaks are listed; ours are reported.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp:print_suppressions=0}
runner=()
if [ "$valgrind" = 1 ]; then
  runner=(valgrind --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite
    --error-exitcode=9 --num-callers=30 --suppressions="$root/tests/longrun/valgrind.supp"
    --log-file="$work/valgrind.log")
fi

echo "long run: $glyphs glyphs, $periodic periodic events, logging on: $binary"
start=$(date +%s)
status=0
(cd "$work" && env QT_QPA_PLATFORM=offscreen ZEMKA_PLAY="$script" ZEMKA_QUIT_AFTER_PLAY=1 \
  ZEMKA_LONGRUN_PERIODIC="$periodic" "${runner[@]}" "$binary" >"$work/summary") || status=$?
seconds=$(( $(date +%s) - start ))
cat "$work/summary"
echo "time ${seconds}s"
if [ "$valgrind" = 1 ]; then grep -E "definitely lost|indirectly lost|ERROR SUMMARY" "$work/valgrind.log" || true; fi

fail() { echo "long run FAILED: $*" >&2; exit 1; }
[ "$status" = 0 ] || { [ "$valgrind" = 1 ] && cat "$work/valgrind.log" >&2; fail "exit status $status"; }
field() { awk -v key="$1" -v name="$2" '$1 == key { for (i = 2; i < NF; i++) if ($i == name) print $(i + 1) }' "$work/summary"; }
[ "$(field events mouse)" = $((glyphs + 2)) ] || fail "mouse events: $(field events mouse), want $((glyphs + 2))"
[ "$(field events periodic)" = "$periodic" ] || fail "periodic events: $(field events periodic), want $periodic"
[ "$(field events quit)" = 1 ] || fail "quit events: $(field events quit), want 1"
[ "$(awk '$1 == "glyphs" { print $2 }' "$work/summary")" = "$glyphs" ] || fail "glyphs planted"
# With logging on every frame writes a line per drawing call: at least one
# per glyph (a snowflake makes six).
lines=$(awk '$1 == "console_lines" { print $2 }' "$work/summary")
[ "$lines" -ge $((periodic * glyphs)) ] || fail "only $lines console lines: logging was not on"
sanitized=$(awk '$1 == "sanitized" { print $2 }' "$work/summary")
if [ "$sanitized" = 0 ] && [ "$valgrind" = 0 ] && [ "$periodic" -ge 2000 ]; then
  middle=$(field resident_kb middle)
  end=$(field resident_kb end)
  [ $((end - middle)) -le "$rss_slack" ] || fail "resident memory grew from $middle kB to $end kB"
fi
echo "long run passed"
