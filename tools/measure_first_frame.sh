#!/usr/bin/env bash
# Measures how long a headless replay of examples/weather-demo.scr takes
# from starting the painter to its first frame, for each painter given:
#   tools/measure_first_frame.sh [RUNS] PAINTER...
# The first frame is done when the first wait has begun: ZEMKA_SNAPSHOT_EVERY=1
# writes FILE-000001.png at the end of that wait, and the time is taken
# from the file's modification time. Prints every run and the median
# (RUNS, default 5, must be odd for a plain median).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=5
if [[ ${1:-} =~ ^[0-9]+$ ]]; then runs=$1; shift; fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for painter in "$@"; do
  painter=$(realpath "$painter")
  times=()
  for _ in $(seq "$runs"); do
    rm -f "$work"/*.png
    start=$(date +%s%N)
    (cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen \
      ZEMKA_PLAY="$root/examples/weather-demo.scr" ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_SNAPSHOT=frame.png \
      ZEMKA_SNAPSHOT_EVERY=1 "$painter" >/dev/null 2>&1)
    [ -f "$work/frame-000001.png" ] || { echo "$painter wrote no first frame" >&2; exit 1; }
    times+=($((($(date -r "$work/frame-000001.png" +%s%N) - start) / 1000000)))
  done
  sorted=($(printf '%s\n' "${times[@]}" | sort -n))
  echo "$painter: first frame after ${sorted[$((runs / 2))]} ms (median of $runs: ${times[*]})"
done
