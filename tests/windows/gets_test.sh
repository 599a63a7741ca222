#!/usr/bin/env bash
# ZEMKA_gets through the system's own dialog manager under wine: Escape
# does not end the dialog, a name typed with real keys and Enter comes back
# to the program (the ask_name example greets it on the console).
#   gets_test.sh ASK_NAME_EXE
set -euo pipefail
. "$(dirname "$0")/wine_lib.sh"
prog=$1
out=$(mktemp)
pid=""
trap 'if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi; rm -f "$out"' EXIT
ZEMKA_ECHO=1 "$WINE" "$prog" >/dev/null 2>"$out" &
pid=$!
dialog=$(visible_window ZEMKA_gets 150)
[ -n "$dialog" ] || { kill "$pid" 2>/dev/null || true; fail "no ZEMKA_gets dialog"; }
xdotool windowfocus --sync "$dialog" 2>/dev/null || xdotool windowfocus "$dialog" || true
sleep 0.5
xdotool key Escape
sleep 0.5
xdotool search --onlyvisible --name '^ZEMKA_gets$' >/dev/null || fail "Escape closed the dialog"
xdotool type --delay 60 "Ada Lovelace"
xdotool key Return
wait_for_line "$out" "Hello, Ada Lovelace!"
xdotool search --onlyvisible --name '^ZEMKA_gets$' >/dev/null 2>&1 && fail "the dialog stayed open after Enter"
find_drawing_window
xdotool key ctrl+q
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "exit code $status"
echo "ZEMKA_gets through the system dialog under wine: ok"
