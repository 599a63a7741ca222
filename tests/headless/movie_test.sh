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
echo "animations: $all frames of the demo ($(stat -c %s demo.gif) bytes), $thin every other wait: ok"
