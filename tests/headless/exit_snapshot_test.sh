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
echo "exit and snapshots: ok"
