#!/usr/bin/env bash
# Takes docs/painter.png: the weather painter on a real X server (Xvfb),
# with snow planted by real clicks.
#   tests/e2e/xvfb_session.sh tools/screenshot.sh
set -euo pipefail
cd "$(dirname "$0")/.."
. tests/e2e/e2e_lib.sh
build/weather-painter >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
find_drawing_window
sleep 0.5
click_logical -250 195   # Snow
click_logical -250 90    # Blue
for p in "-150 230" "-60 200" "20 225" "100 190" "180 215" "250 170" "-100 120" "60 140"; do
  click_logical $p
  sleep 0.15
done
click_logical -250 160   # Hail
click_logical -250 55    # YELLOW
for p in "-20 100" "140 60" "230 110"; do click_logical $p; sleep 0.15; done
sleep 1
xdotool key ctrl+h
sleep 0.3
import -window root /tmp/zemka-root.png
h=$(xdotool getwindowgeometry --shell "$WID" | sed -n 's/^HEIGHT=//p')
mkdir -p docs
convert /tmp/zemka-root.png -crop "600x${h}+0+0" +repage docs/painter.png
echo "wrote docs/painter.png"
