#!/usr/bin/env bash
# Animations (ZEMKA_MOVIE) of a replay, decoded by an independent decoder
# (Pillow): every frame is one of the replay's snapshots, in order, the
# first the first wait's and the last the final one; the delays are the
# script's ticks; the same script gives the same file, byte for byte;
# ZEMKA_MOVIE_EVERY and ZEMKA_MOVIE_LIMIT thin and bound it; a path that
# cannot be written is one line and no file.
#   movie_test.sh BOXES_PROGRAM PAINTER OWN_DIR DEMO_SCRIPT
set -euo pipefail
boxes=$1 painter=$2 own=$3 demo=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
unset ZEMKA_PLAY ZEMKA_SNAPSHOT ZEMKA_SNAPSHOT_EVERY ZEMKA_MOVIE ZEMKA_MOVIE_EVERY ZEMKA_MOVIE_LIMIT
cp "$own/boxes.scr" .
run() {  # run PROGRAM SCRIPT VAR=VALUE...: stderr to err.txt
  local program=$1 script=$2
  shift 2
  env QT_QPA_PLATFORM=offscreen ZEMKA_PLAY="$script" ZEMKA_QUIT_AFTER_PLAY=1 "$@" timeout 120 "$program" 2>err.txt ||
    { cat err.txt >&2; fail "$(basename "$program") ended with $?"; }
}
run "$boxes" boxes.scr ZEMKA_MOVIE=boxes.gif ZEMKA_SNAPSHOT=shot.png ZEMKA_SNAPSHOT_EVERY=1
[ -s boxes.gif ] || fail "no animation written"
/usr/bin/python3 - boxes.gif shot.png <<'END' || fail "the animation does not match the snapshots"
import glob, sys
from PIL import Image, ImageSequence
gif, final = sys.argv[1], sys.argv[2]
shots = [Image.open(p).convert('RGB').tobytes() for p in sorted(glob.glob('shot-*.png'))]
frames, delays = [], []
for frame in ImageSequence.Iterator(Image.open(gif)):
    frames.append(frame.convert('RGB').tobytes())
    delays.append(frame.info['duration'])
ticks = 5
assert len(frames) >= 2, f'{len(frames)} frames'
assert frames[0] == shots[0], 'the first frame is not the first wait\'s picture'
assert frames[-1] == Image.open(final).convert('RGB').tobytes(), 'the last frame is not the final picture'
at = 0
for i, f in enumerate(frames):
    while at < len(shots) and shots[at] != f:
        at += 1
    assert at < len(shots), f'frame {i} is none of the later snapshots'
assert all(d % 100 == 0 for d in delays[:-1]), delays
assert sum(delays[:-1]) == 100 * ticks and delays[-1] == 1000, delays
print(f'{len(frames)} frames, delays {delays}: ok')
END
run "$boxes" boxes.scr ZEMKA_MOVIE=again.gif
cmp -s boxes.gif again.gif || fail "the same script gave another animation"

# The painter's demo: with text, twice the same bytes; every other wait
# gives fewer frames; a limit of 3 frames stops at 3 with one line.
run "$painter" "$demo" ZEMKA_MOVIE=demo.gif
run "$painter" "$demo" ZEMKA_MOVIE=demo2.gif
cmp -s demo.gif demo2.gif || fail "the painter's demo gave two different animations"
run "$painter" "$demo" ZEMKA_MOVIE=thin.gif ZEMKA_MOVIE_EVERY=2
run "$painter" "$demo" ZEMKA_MOVIE=short.gif ZEMKA_MOVIE_LIMIT=3
grep -qx "ZEMKA: the animation short.gif reached its limit of 3 frames; it ends there" err.txt ||
  { cat err.txt >&2; fail "no line about the limit"; }
frames() { /usr/bin/python3 -c 'import sys; from PIL import Image; print(Image.open(sys.argv[1]).n_frames)' "$1"; }
all=$(frames demo.gif) thin=$(frames thin.gif) short=$(frames short.gif)
[ "$thin" -lt "$all" ] && [ "$thin" -ge 2 ] || fail "ZEMKA_MOVIE_EVERY=2: $thin frames of $all"
[ "$short" -eq 3 ] || fail "ZEMKA_MOVIE_LIMIT=3 gave $short frames"

# Where the file cannot go: one line, the program runs on, nothing left.
mkdir folder.gif
run "$boxes" boxes.scr ZEMKA_MOVIE=folder.gif
grep -q "^ZEMKA: cannot write the animation folder.gif (it is not a regular file); ZEMKA_MOVIE is ignored$" err.txt ||
  { cat err.txt >&2; fail "no line about the folder"; }
run "$boxes" boxes.scr ZEMKA_MOVIE=/nonexistent/x.gif
grep -q "^ZEMKA: cannot write the animation /nonexistent/x.gif" err.txt || fail "no line about a missing folder"
[ -z "$(ls -A folder.gif)" ] && ! ls .*.tmp-* >/dev/null 2>&1 || fail "something was left behind"
# An output never replaces the script being played, the other output or a
# file of another kind (an empty one holds nothing): one line at the start
# each, the file as it was, and the program runs on.
once() { [ "$(grep -cxF "$1" err.txt)" -eq 1 ] || { cat err.txt >&2; fail "not once: $1"; }; }
cp boxes.scr played.scr
run "$boxes" played.scr ZEMKA_MOVIE=played.scr ZEMKA_SNAPSHOT=./played.scr
once "ZEMKA: ZEMKA_MOVIE names the script being played (played.scr): nothing is written"
once "ZEMKA: ZEMKA_SNAPSHOT names the script being played (./played.scr): nothing is written"
grep -q "ended after [1-9][0-9]* events: end of file" err.txt || fail "the program did not run on"
cmp -s boxes.scr played.scr || fail "the script being played was replaced"
printf 'int main(void) { return 0; }\n' >prog.c
cp prog.c prog.orig
run "$boxes" boxes.scr ZEMKA_MOVIE=prog.c ZEMKA_SNAPSHOT=prog.c
once "ZEMKA: ZEMKA_MOVIE names a file that is not a GIF animation (prog.c): nothing is written"
once "ZEMKA: ZEMKA_SNAPSHOT names a file that is not a PNG picture (prog.c): nothing is written"
cmp -s prog.c prog.orig || fail "a source file was replaced"
run "$boxes" boxes.scr ZEMKA_MOVIE=both.gif ZEMKA_SNAPSHOT=both.gif
once "ZEMKA: ZEMKA_SNAPSHOT names the file of ZEMKA_MOVIE (both.gif): nothing is written"
[ "$(head -c 6 both.gif)" = GIF89a ] || fail "the animation's file does not hold the animation"
# The series too, for each file it would replace; an empty file is replaced.
cp prog.c series-000002.png
: >empty.gif
run "$boxes" boxes.scr ZEMKA_SNAPSHOT=series.png ZEMKA_SNAPSHOT_EVERY=1 ZEMKA_MOVIE=empty.gif
once "ZEMKA: cannot write the snapshot series-000002.png: it would replace a file that is not a PNG picture"
cmp -s series-000002.png prog.orig || fail "the series replaced a source file"
[ -s series-000003.png ] && [ -s series.png ] || fail "the series did not go on"
[ "$(head -c 6 empty.gif)" = GIF89a ] || fail "an empty file was not replaced"
echo "animations: $all frames of the demo ($(stat -c %s demo.gif) bytes), $thin every other wait: ok"
