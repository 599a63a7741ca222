#!/usr/bin/env bash
# The painter replays examples/weather-demo.scr on the headless back end
# and on the Qt one (offscreen); the snapshots must be equal pixel for
# pixel outside the text (tests/support/same_geometry.sh).
#   same_geometry_test.sh HEADLESS_PAINTER QT_PAINTER DEMO_SCRIPT
set -euo pipefail
headless=$1 qt=$2 script=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$script" "$work/demo.scr"
for run in headless:"$headless" qt:"$qt"; do
  name=${run%%:*} painter=${run#*:}
  (cd "$work" && ZEMKA_PLAY=demo.scr ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_SNAPSHOT=$name.png QT_QPA_PLATFORM=offscreen \
    timeout 120 "$painter" >/dev/null 2>"$work/$name.err") || { cat "$work/$name.err" >&2; fail "the $name replay failed"; }
  [ -s "$work/$name.png" ] || fail "no snapshot from the $name replay"
done
. "$(dirname "$0")/../support/same_geometry.sh"
same_geometry "$work/headless.png" "$work/qt.png"
