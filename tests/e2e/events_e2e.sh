#!/usr/bin/env bash
# A small C program under Xvfb: real clicks and keys arrive as events, and
# Ctrl+Q ends it with exit code 0.
set -euo pipefail
. "$(dirname "$0")/e2e_lib.sh"
prog=$1
out=$(mktemp)
"$prog" >"$out" 2>/dev/null &
pid=$!
wait_for_line "$out" READY
find_drawing_window
click_client 310 240
wait_for_line "$out" "MOUSE 10 10"
click_logical -300 -249
wait_for_line "$out" "MOUSE -300 -249"
xdotool type --delay 50 "aZ"
wait_for_line "$out" "KBD 97"
wait_for_line "$out" "KBD 90"
xdotool key ctrl+l
xdotool key ctrl+q
wait_for_line "$out" QUIT
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit code $status"
# Ctrl+L and Ctrl+Q were commands, not key events.
! grep -qE '^KBD (12|17|108|113)$' "$out" || fail "a Ctrl key arrived as a key event"
echo "events end to end: ok"
