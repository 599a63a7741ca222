#!/usr/bin/env bash
# Replays that cannot be used end the run at once with one line and exit
# status 2, without blocking on a FIFO; a replay that plays nothing says
# so; a script with Windows line ends plays exactly as its twin.
set -euo pipefail
painter=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM ZEMKA_PLAY ZEMKA_SNAPSHOT ZEMKA_ECHO ZEMKA_PLAY_LIMIT ZEMKA_SNAPSHOT_EVERY
fail() { echo "FAIL: $*" >&2; [ -f err.txt ] && cat err.txt >&2; exit 1; }
replay() {  # replay SCRIPT [VAR=VALUE...]: stderr to err.txt, sets status
  local script=$1; shift
  status=0
  env ZEMKA_PLAY="$script" ZEMKA_QUIT_AFTER_PLAY=1 "$@" timeout 20 "$painter" 2>err.txt || status=$?
}

mkdir folder.scr
ln -s loop.scr loop.scr
mkfifo fifo.scr
timeout 10 sh -c 'echo "ZEMKA_KBD(65);" > fifo.scr' 2>/dev/null &
writer=$!
for case in "missing.scr:no such file" "folder.scr:it is not a regular file" \
            "loop.scr:it cannot be read" "fifo.scr:it is not a regular file"; do
  script=${case%%:*} why=${case#*:}
  replay "$script"
  [ "$status" -eq 2 ] || fail "$script: exit status $status, not 2"
  [ "$(cat err.txt)" = "ZEMKA: cannot replay $script: $why" ] || fail "$script: not the one expected line"
done
kill "$writer" 2>/dev/null || true

# Scripts that play nothing end the replay visibly.
printf 'ZEMKA_KBD(65);\n' | iconv -t UTF-16 >utf16.scr
# Fixed bytes, not random ones: a line whose seventh byte happens to be
# M, K or P is an event.
{ printf '\x7fELF\x02\x01\x01\x00\x00\xff\xfe\r'; head -c 300 /dev/zero | tr '\0' '\351'; } >binary.scr
: >empty.scr
for case in "utf16.scr:no usable line" "binary.scr:no usable line" "empty.scr:end of file"; do
  script=${case%%:*} why=${case#*:}
  replay "$script"
  [ "$status" -eq 0 ] || fail "$script: exit status $status"
  grep -qx "ZEMKA: replay of $script ended after 0 events: $why" err.txt || fail "$script: no end line"
done

# Windows line ends and a blank line: the same events, the same picture.
printf '%s\n' 'ZEMKA_MOUSE(-250, 195);' 'ZEMKA_MOUSE(-250, 90);' 'ZEMKA_MOUSE(0, 235);' '' \
  'ZEMKA_MOUSE(120, 160);' 'ZEMKA_PERIODIC(2);' >unix.scr
sed 's/$/\r/' unix.scr >windows.scr
replay unix.scr ZEMKA_SNAPSHOT=unix.png
[ "$status" -eq 0 ] || fail "unix.scr: exit status $status"
replay windows.scr ZEMKA_SNAPSHOT=windows.png
[ "$status" -eq 0 ] || fail "windows.scr: exit status $status"
grep -qx "ZEMKA: replay of windows.scr ended after 6 events: end of file" err.txt || fail "windows.scr not played to its end"
cmp -s unix.png windows.png || fail "the two line ends give different pictures"
echo "replay errors: ok"
