#!/usr/bin/env bash
# Measures the weather painter running headless on the toolkit's offscreen
# platform, from /proc:
#   tools/measure_painter.sh [BUILD_DIR]     (default: build-bench)
# BUILD_DIR must hold weather-painter and bench/zemka-painter-load, i.e. a
# tree configured with -DZEMKA_BENCH=ON (see bench/CMakeLists.txt).
#
# 1. halted and idle: the painter replays a script that picks Snow and
#    White and plants 500 flakes (a replay switches the animation off, as
#    the Playback command does), then waits for input;
# 2. animating: the load driver plants the same 500 flakes through the
#    painter's click handling and animates at the library's 10 ticks a
#    second, redrawing the whole frame on every tick;
# 3. memory over 10,000 frames: the painter replays the plants and then
#    10,000 periodic events as fast as it can, one full frame each, while
#    its resident size is sampled.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build-bench}
painter=$build/weather-painter
load=$build/bench/zemka-painter-load
for p in "$painter" "$load"; do
  [ -x "$p" ] || { echo "missing $p (build with -DZEMKA_BENCH=ON)" >&2; exit 1; }
done
export QT_QPA_PLATFORM=offscreen
secs=${MEASURE_SECONDS:-10}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
plants=$work/plants.scr
{
  echo "ZEMKA_MOUSE(-250, 190);"   # Snow
  echo "ZEMKA_MOUSE(-250, 120);"   # White
  for i in $(seq 0 499); do
    echo "ZEMKA_MOUSE($(( -195 + (i * 37) % 490 )), $(( -95 + (i * 53) % 340 )));"
  done
} > "$plants"
frames=$work/frames.scr
{ cat "$plants"; echo "ZEMKA_PERIODIC(10000);"; } > "$frames"

echo "halted and idle, 500 flakes planted:"
(cd "$work" && MEASURE_WARMUP=3 ZEMKA_PLAY="$plants" "$here/measure_cpu.sh" "$secs" "$painter")
echo "animating at 10 ticks a second, 500 flakes:"
(cd "$work" && MEASURE_WARMUP=2 "$here/measure_cpu.sh" "$secs" "$load" 500)

echo "resident memory while replaying 500 plants and 10,000 frames:"
cd "$work"
start=$(date +%s.%N)
ZEMKA_PLAY="$frames" ZEMKA_QUIT_AFTER_PLAY=1 "$painter" >/dev/null 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
samples=()
while kill -0 "$pid" 2>/dev/null; do
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
  [ -n "$rss" ] && samples+=("$rss")
  sleep 0.25
done
wait "$pid" || true
end=$(date +%s.%N)
# The first samples are start-up and planting; the rest are the frames.
printf '%s\n' "${samples[@]}" | awk -v t="$(awk -v a="$start" -v b="$end" 'BEGIN { print b - a }')" '
  { v[NR] = $1 }
  END {
    if (NR < 4) { print "  too few samples"; exit }
    first = int(NR / 4) + 1
    lo = v[first]; hi = v[first]
    for (i = first; i <= NR; i++) { if (v[i] < lo) lo = v[i]; if (v[i] > hi) hi = v[i] }
    printf "  %d samples over %.1f s; resident from the first quarter on: %.1f to %.1f MB (last %.1f MB)\n",
      NR, t, lo / 1024, hi / 1024, v[NR] / 1024
  }'
