#!/usr/bin/env bash
# Builds the web pages and serves them on http://127.0.0.1:PORT (8000 by
# default) until interrupted.
#   tools/serve-web.sh [PORT]
set -euo pipefail
cd "$(dirname "$0")/.."
port=${1:-8000}
site=${ZEMKA_WEB_BUILD:-$PWD/build-web}/site
tools/build-web.sh "$site" > /dev/null
echo "The gallery: http://127.0.0.1:$port/index.html"
echo "The weather painter: http://127.0.0.1:$port/weather-painter.html"
echo "Examples: http://127.0.0.1:$port/{shapes,bouncing_ball,scribble,ask_name}.html"
echo "A replay: http://127.0.0.1:$port/weather-painter.html?play=weather-demo.scr"
echo "The playground: http://127.0.0.1:$port/playground/index.html"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory "$site"
