#!/usr/bin/env bash
# Snapshots at the end of a program and when things go wrong: a program
# that returns from main or calls exit() without ZEMKA_stop still leaves a
# whole picture; a device, a FIFO or a full disk gives one clear line and no
# file (never a partial one); a run killed early leaves nothing behind.
set -euo pipefail
program=$1 probe=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
unset DISPLAY WAYLAND_DISPLAY ZEMKA_PLAY ZEMKA_SNAPSHOT ZEMKA_ECHO ZEMKA_PLAY_LIMIT ZEMKA_SNAPSHOT_EVERY
export QT_QPA_PLATFORM=offscreen
fail() { echo "FAIL: $*" >&2; [ -f err.txt ] && cat err.txt >&2; exit 1; }
leftovers() { find . -name '.*.tmp-*' | head -1; }

for how in return exit; do
  status=0
  ZEMKA_SNAPSHOT=$how.png ZEMKA_ECHO=1 timeout 60 "$program" "$how" 2>err.txt || status=$?
  [ "$status" -eq 0 ] || fail "$how without ZEMKA_stop: exit status $status"
  "$probe" "$how.png" at 0 0 255,0,0 at 100 100 255,255,255 || fail "$how: the snapshot is not the picture"
  grep -qx "written before the start" err.txt || fail "the line written before the start was not echoed"
done

# Not regular files: refused at the start, with one line, without blocking.
mkfifo pipe.png
for target in /dev/full pipe.png; do
  status=0
  ZEMKA_SNAPSHOT=$target timeout 20 "$program" 2>err.txt || status=$?
  [ "$status" -eq 0 ] || fail "$target: exit status $status"
  [ "$(grep -c "ZEMKA: cannot write the snapshot $target (it is not a regular file); ZEMKA_SNAPSHOT is ignored" err.txt)" -eq 1 ] ||
    fail "$target was not refused with one line"
done

# A full disk (the file size limit stands in for it): one line, and
# neither the picture nor its temporary file is left.
status=0
(ulimit -f 4; trap '' XFSZ; ZEMKA_SNAPSHOT=full.png timeout 60 "$program" 2>err.txt) || status=$?
[ "$status" -eq 0 ] || fail "full disk: exit status $status"
grep -qx "ZEMKA: cannot write the snapshot full.png: File too large" err.txt || fail "the failed write was not reported"
[ ! -e full.png ] || fail "a partial snapshot was left"
[ -z "$(leftovers)" ] || fail "a temporary file was left: $(leftovers)"

# An older picture is replaced whole; a run killed before its end leaves
# the older one as it was and creates nothing.
ZEMKA_SNAPSHOT=return.png timeout 60 "$program" 2>err.txt || fail "second run failed"
"$probe" return.png at 0 0 255,0,0 || fail "the replaced snapshot is not whole"
ZEMKA_SNAPSHOT=killed.png "$program" wait 2>err.txt &
pid=$!
sleep 1
kill -9 "$pid"
wait "$pid" 2>/dev/null || true
[ ! -e killed.png ] || fail "a run killed early left a snapshot file"
[ -z "$(leftovers)" ] || fail "a temporary file was left: $(leftovers)"

# A signal that asks the program to end ends it by its own quit path: the
# snapshot and the animation are whole, nothing temporary is left, and the
# status still says which signal ended it. (env gives SIGINT back its
# default action, which a shell takes from a program it starts in the
# background.)
started() {  # started LINE: the program has drawn, so its start is over
  for _ in $(seq 600); do grep -qxF "$1" err.txt 2>/dev/null && return 0; sleep 0.1; done
  kill -9 "$pid"
  fail "the program did not start"
}
square="red rectangle with bounding box (-20,20) to (20,-20), filled"
for sig in TERM INT; do
  ZEMKA_SNAPSHOT=$sig.png ZEMKA_MOVIE=$sig.gif ZEMKA_ECHO=1 env --default-signal=INT "$program" wait 2>err.txt &
  pid=$!
  started "$square"
  kill -s "$sig" "$pid"
  status=0
  wait "$pid" || status=$?
  [ "$status" -eq $((128 + $(kill -l "$sig"))) ] || fail "SIG$sig: exit status $status"
  grep -qx "ZEMKA: SIG$sig received: the program is asked to quit" err.txt || fail "SIG$sig: no line about it"
  "$probe" "$sig.png" at 0 0 255,0,0 || fail "SIG$sig: the snapshot is not the picture"
  [ "$(head -c 6 "$sig.gif")" = GIF89a ] && [ "$(tail -c 1 "$sig.gif" | od -An -tx1 | tr -d ' ')" = 3b ] ||
    fail "SIG$sig: the animation is not whole"
  [ -z "$(leftovers)" ] || fail "SIG$sig: a temporary file was left: $(leftovers)"
done

# A program busy without waiting still ends; its animation's temporary
# file, left by a dead writer, goes at the next run with that output, and
# a live writer's and another output's stay.
ZEMKA_MOVIE=busy.gif ZEMKA_ECHO=1 "$program" busy 2>err.txt &
pid=$!
started busy
kill -s TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 143 ] || fail "busy: exit status $status"
dead=$(find . -name ".busy.gif.tmp-$pid-*")
[ -n "$dead" ] || fail "the busy program left no temporary file to sweep"
: >".busy.gif.tmp-$$-1-1"
: >".other.gif.tmp-$pid-1-1"
ZEMKA_MOVIE=busy.gif timeout 60 "$program" 2>err.txt || fail "the run after the busy one failed"
[ ! -e "$dead" ] || fail "the dead writer's temporary file was not swept"
[ -e ".busy.gif.tmp-$$-1-1" ] && [ -e ".other.gif.tmp-$pid-1-1" ] || fail "a file that was not a dead writer's went"
[ "$(head -c 6 busy.gif)" = GIF89a ] || fail "no animation after the sweep"
echo "exit and snapshots: ok"
