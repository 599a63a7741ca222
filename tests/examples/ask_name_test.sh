#!/usr/bin/env bash
# The ZEMKA_gets example on a real X server: the name is typed into the
# dialog with real keys, then a script click and the end of the script
# finish the run. Run inside tests/e2e/xvfb_session.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/example_lib.sh"
program=$1 PROBE=$2

(cd "$WORK" && ZEMKA_PLAY="$here/ask_name.scr" ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_SNAPSHOT="$SNAPSHOT" ZEMKA_ECHO=1 \
  timeout 120 "$program" >"$WORK/stdout.txt" 2>"$CONSOLE") &
pid=$!

dialog=$(timeout 30 xdotool search --sync --onlyvisible --name '^ZEMKA_gets$' | head -n 1) || true
[ -n "$dialog" ] || { kill "$pid" 2>/dev/null || true; cat "$CONSOLE" >&2; fail "no ZEMKA_gets dialog"; }
xdotool windowactivate --sync "$dialog" 2>/dev/null || xdotool windowfocus --sync "$dialog" 2>/dev/null || true
sleep 0.3
xdotool type --delay 40 "Ada Lovelace"
xdotool key Return

status=0
wait "$pid" || status=$?
finished "$program" "$status"
expect_line "Hello, Ada Lovelace!"
expect_no_line "The question could not be asked"
# The greeting in blue, and the script's click answered in orange.
expect_picture \
  some -250 110 150 60 0,0,255 \
  some -200 -78 -40 -100 255,102,0 \
  none -300 50 299 -249 0,0,255
echo "ask_name example: ok"
