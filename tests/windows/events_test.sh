#!/usr/bin/env bash
# Real X input into the real Win32 windows under wine: clicks arrive at
# ZEMKA_next_event as logical points, typed letters as key events, and the
# Ctrl commands (F: one frame, A / H: animate and halt, L, Q: quit) act
# without producing key events; Ctrl+R records returned clicks and keys into
# ZEMKA.SCR, each line with the system's line end (CR LF).
#   events_test.sh EVENT_ECHO_EXE
set -euo pipefail
. "$(dirname "$0")/wine_lib.sh"
prog=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d)
out=$work/events.txt
pid=""
trap 'if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi; rm -rf "$work"' EXIT
(cd "$work" && exec "$WINE" "$prog" >"$out" 2>/dev/null) &
pid=$!
wait_for_line "$out" READY 60
find_drawing_window
click_client 310 240
wait_for_line "$out" "MOUSE 10 10"
click_logical -300 -249
wait_for_line "$out" "MOUSE -300 -249"
click_logical 299 250
wait_for_line "$out" "MOUSE 299 250"
# Recording: what the wait returns between Ctrl+R and Ctrl+R are the
# script's lines, each ended by CR LF.
xdotool key ctrl+r
click_logical 5 6
wait_for_line "$out" "MOUSE 5 6"
click_logical -7 8
wait_for_line "$out" "MOUSE -7 8"
xdotool key b
wait_for_line "$out" "KBD 98"
xdotool key ctrl+r
want=$'ZEMKA_MOUSE(5, 6);\r\nZEMKA_MOUSE(-7, 8);\r\nZEMKA_KBD(98);\r\n'
for _ in $(seq 50); do [ "$(od -An -c "$work/ZEMKA.SCR" 2>/dev/null)" = "$(printf %s "$want" | od -An -c)" ] && break; sleep 0.1; done
[ "$(od -An -c "$work/ZEMKA.SCR" 2>/dev/null)" = "$(printf %s "$want" | od -An -c)" ] ||
  fail "ZEMKA.SCR holds '$(od -c "$work/ZEMKA.SCR" 2>/dev/null | head -5)'"
xdotool type --delay 80 "aZ"
wait_for_line "$out" "KBD 97"
wait_for_line "$out" "KBD 90"
# Ctrl+F: exactly one periodic event, then the wait blocks again.
xdotool key ctrl+f
wait_for_line "$out" PERIODIC
sleep 0.6
[ "$(count_lines "$out" PERIODIC)" -eq 1 ] || fail "Ctrl+F gave $(count_lines "$out" PERIODIC) periodic events"
# Ctrl+A animates; Ctrl+H halts: the count stops growing.
xdotool key ctrl+a
for _ in $(seq 50); do [ "$(count_lines "$out" PERIODIC)" -ge 4 ] && break; sleep 0.1; done
[ "$(count_lines "$out" PERIODIC)" -ge 4 ] || fail "Ctrl+A did not animate"
xdotool key ctrl+h
sleep 0.5
halted=$(count_lines "$out" PERIODIC)
sleep 0.8
[ "$(count_lines "$out" PERIODIC)" -eq "$halted" ] || fail "Ctrl+H did not halt the animation"
xdotool key ctrl+l
xdotool key ctrl+q
wait_for_line "$out" QUIT
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit code $status"
# The Ctrl letters were commands, not key events.
! tr -d '\r' <"$out" | grep -qE '^KBD (1|6|8|12|17|97 97|102|104|108|113)$' || fail "a Ctrl key arrived as a key event"
[ "$(count_lines "$out" "KBD 97")" -eq 1 ] || fail "Ctrl+A typed an a"
echo "events end to end under wine: ok"
