#!/usr/bin/env bash
# The painter without a display, driven by environment variables: the
# replay is deterministic, the picture shows the scripted glyphs, the echo
# shows the console, bad values are reported and ignored.
#   replay_test.sh PAINTER DEMO_SCRIPT [no-display-note]
# The third word is for the headless back end, which never looks for a
# display and so never notes that there is none.
set -euo pipefail
painter=$1
demo=$2
display_note=${3:-display-note}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM ZEMKA_PLAY ZEMKA_SNAPSHOT ZEMKA_ECHO ZEMKA_PLAY_LIMIT
fail() { echo "FAIL: $*" >&2; exit 1; }
pixel() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
replay() {  # replay SCRIPT PNG [VAR=VALUE...]: runs the painter, stderr to err.txt
  local script=$1 png=$2; shift 2
  env ZEMKA_PLAY="$script" ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_SNAPSHOT="$png" "$@" timeout 60 "$painter" 2>err.txt
}

# Snow and blue, two flakes, no ticks: the flakes stand where they were put.
printf '%s\n' 'ZEMKA_MOUSE(-250, 195);' 'ZEMKA_MOUSE(-250, 90);' 'ZEMKA_MOUSE(0, 235);' 'ZEMKA_MOUSE(120, 160);' \
  'ZEMKA_PERIODIC(2);' >flakes.scr
replay flakes.scr one.png ZEMKA_ECHO=1 || fail "exit code $?"
if [ "$display_note" = no-display-note ]; then
  ! grep -q "no display found" err.txt || fail "a note about a display, which this back end never has"
else
  grep -qx "ZEMKA: no display found; drawing offscreen" err.txt || fail "no note about the missing display"
  [ "$(grep -c 'no display found' err.txt)" -eq 1 ] || fail "the display note is not said once"
fi
grep -qx "EOF encountered in script file flakes.scr" err.txt || { cat err.txt >&2; fail "no echoed end-of-file line"; }
[ "$(file -b --mime-type one.png 2>/dev/null || echo image/png)" = image/png ] || fail "not a PNG"
[ "$(identify -format '%wx%h' one.png)" = 600x500 ] || fail "snapshot is not 600 x 500"
# Two ticks moved the flakes 6 units down.
[ "$(pixel one.png 300 21)" = "0,0,255" ] || fail "no blue flake at (0, 229): $(pixel one.png 300 21)"
[ "$(pixel one.png 420 96)" = "0,0,255" ] || fail "no blue flake at (120, 154)"
[ "$(pixel one.png 300 15)" = "0,255,255" ] || fail "sky at (0, 235) not cyan"

# The same script gives the same picture, byte for byte.
replay flakes.scr two.png || fail "second run failed"
cmp -s one.png two.png || fail "two replays differ"

# The bundled demo: exit 0 and a picture.
replay "$demo" demo.png || fail "demo replay failed"
[ -s demo.png ] || fail "no demo picture"

# Numbered snapshots every N waits.
replay flakes.scr every.png ZEMKA_SNAPSHOT_EVERY=2 || fail "snapshot-every run failed"
[ -s every-000001.png ] && [ -s every-000003.png ] || fail "no numbered snapshots: $(ls)"

# The play limit ends playback like the end of the file, with one line.
replay flakes.scr limit.png ZEMKA_ECHO=1 ZEMKA_PLAY_LIMIT=3 || fail "limited run failed"
grep -qx "Play limit of 3 events reached in script file flakes.scr" err.txt || { cat err.txt >&2; fail "no limit line"; }
[ "$(pixel limit.png 420 90)" = "0,255,255" ] || fail "the flake past the limit was planted"

# Bad values: one clear line each, and the program runs on without them.
replay flakes.scr bad.png ZEMKA_PLAY_LIMIT=lots ZEMKA_SNAPSHOT_EVERY=x || fail "run with bad numbers failed"
grep -q "ZEMKA_PLAY_LIMIT=lots is not a positive number" err.txt || fail "bad limit not reported"
grep -q "ZEMKA_SNAPSHOT_EVERY=x is not a positive number" err.txt || fail "bad interval not reported"
cmp -s one.png bad.png || fail "bad numbers changed the replay"
env ZEMKA_PLAY=flakes.scr ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_SNAPSHOT=/nonexistent/dir/x.png timeout 60 "$painter" 2>err.txt ||
  fail "unwritable snapshot path stopped the program"
[ "$(grep -c 'cannot write the snapshot /nonexistent/dir/x.png' err.txt)" -eq 1 ] || fail "unwritable path not said once"
grep -qx "ZEMKA: replay of flakes.scr ended after 6 events: end of file" err.txt || { cat err.txt >&2; fail "no replay end line"; }
echo "headless runs: ok"
