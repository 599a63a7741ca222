#!/usr/bin/env bash
# zemka mark on a class the test writes: a right program, a moved shape, a
# compile error, a crash, one that never quits, one that writes outside its
# folder, a fork bomb, one that allocates without end and one that prints
# without end. Every row of marks.csv, the pictures, the teacher's folder
# untouched, nothing left running, marking again only what changed, and
# two shards merged into the same rows.
#   mark_test.sh ZEMKA
set -euo pipefail
zemka=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
WORK=$(mktemp -d)
chmod 755 "$WORK"  # the sandboxed programs run as nobody when the test is root
trap 'rm -rf "$WORK"' EXIT
export TMPDIR=$WORK/tmp XDG_CACHE_HOME=$WORK/cache
mkdir -p "$TMPDIR"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
class=$WORK/class
mkdir -p "$class/work/ada"

# program FILE SHIFT BEFORE_LOOP IN_LOOP: a program that asks a name, draws
# a rectangle and a circle SHIFT pixels to the right, and waits until quit.
program() {
  cat >"$1" <<PROG
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#include <zemka/zemka.h>
int main(void) {
    int x, y, waits = 0;
    char key, name[256];
    ZEMKA_start(0, 0, "", 1);
    if (ZEMKA_gets("Name?", name)) printf("name %s\n", name);
    ZEMKA_set_animation(RUN_ANIMATE);
    ZEMKA_draw_rectangle(2, -100, 50, 100, -50, 0);
    ZEMKA_draw_circle(5, $2, 0, 30);
    $3
    while (ZEMKA_next_event(&x, &y, &key) != ZEMKA_QUIT) { ++waits; $4 }
    ZEMKA_stop();
    return 0;
}
PROG
}
program "$class/model.c" 0 "" ""
program "$class/work/ada/main.c" 0 "" ""
echo '/* nothing here */' >"$class/work/ada/helper.h"
program "$class/work/bob.c" 40 "" ""
printf 'int main(void) { return missing; }\n' >"$class/work/carl.c"
program "$class/work/dora.c" 0 "" "if (waits == 3) *(volatile int *)0 = 1;"
program "$class/work/emil.c" 0 "for (;;) { ZEMKA_next_event(&x, &y, &key); usleep(20000); }" ""
program "$class/work/fay.c" 0 "FILE *f = fopen(\"$class/escaped.txt\", \"w\"); FILE *g = fopen(\"../escaped.txt\", \"w\");
    printf(\"outside: %s %s\\n<i>&</i>\\n\", f ? \"written\" : \"refused\", g ? \"written\" : \"refused\");" ""
program "$class/work/gus.c" 0 "ZEMKA_next_event(&x, &y, &key); for (;;) fork();" ""
program "$class/work/hal.c" 0 "ZEMKA_next_event(&x, &y, &key); for (;;) *(volatile char *)malloc(1 << 24) = 1;" ""
# ivy also puts a link to a folder of the teacher's where its pictures go.
program "$class/work/ivy.c" 0 "ZEMKA_next_event(&x, &y, &key); rename(\".zemka\", \"moved\"); symlink(\"$class/pictures\", \".zemka\");
    for (;;) puts(\"more and more\");" ""
mkdir "$class/pictures" && touch "$class/pictures/picture-000001.png" "$class/pictures/picture-000002.png"
echo 'ZEMKA_PERIODIC(5);' >"$class/task.scr"
echo 'Ada' >"$class/task.in"
names="ada bob carl dora emil fay gus hal ivy"

listing() { (cd "$class" && find . -path ./report -prune -o -print0 | sort -z | xargs -0 stat -c '%n %s %a' && find . -path ./report -prune -o -type f -print0 | sort -z | xargs -0 sha256sum); }
listing >"$WORK/before"
mark() { (cd "$class" && timeout 600 "$zemka" mark --script task.scr --answers task.in --model model.c --time-limit 8 "$@" work/*); }
mark -o report >"$WORK/out.txt" 2>&1 || fail "zemka mark: $(cat "$WORK/out.txt")"

# --- the rows --------------------------------------------------------------
csv=$class/report/marks.csv
[ "$(head -n 1 "$csv")" = "name,built,ended,exit_status,signal,seconds,differing_pixels,console_lines" ] || fail "the header: $(head -n 1 "$csv")"
row() { grep "^$1," "$csv" | sed -E 's/^([^,]*,[^,]*,[^,]*,[^,]*,[^,]*),[0-9.]+,/\1,S,/'; }
expect() { local got; got=$(row "$1"); [[ "$got" =~ ^$2$ ]] || fail "$1: the row is '$got', not /$2/"; }
expect ada 'ada,yes,exited,0,,S,0,[1-9][0-9]*'
expect bob 'bob,yes,exited,0,,S,[1-9][0-9]*,[1-9][0-9]*'
expect carl 'carl,no,not run,,,,,0'
expect dora 'dora,yes,crashed,,SIGSEGV,S,0,[0-9]+'
# A wait after the window has closed says so again and again on the headless
# back end, so emil may fill its console before its time is up.
expect emil 'emil,yes,(time|output) limit,,SIG(TERM|KILL),S,0,[0-9]+'
expect fay 'fay,yes,exited,0,,S,0,[0-9]+'
expect gus 'gus,yes,time limit,,SIG(TERM|KILL),S,0,[0-9]+'
expect hal 'hal,yes,crashed,,SIG(SEGV|ABRT),S,0,[0-9]+'
expect ivy 'ivy,yes,output limit,,SIG(TERM|KILL),S,0,[0-9]+'
[ "$(wc -l <"$csv")" = 10 ] || fail "marks.csv has $(wc -l <"$csv") lines"
grep -qx "name Ada" "$class/report/cards/ada/console.txt" || fail "the answers did not reach ZEMKA_gets"
grep -qx "outside: refused refused" "$class/report/cards/fay/console.txt" || fail "fay: $(head -c 300 "$class/report/cards/fay/console.txt")"
grep -q "^carl.c:1:.*missing" "$class/report/cards/carl/build.txt" || fail "carl: the compiler's messages: $(cat "$class/report/cards/carl/build.txt")"
size=$(stat -c %s "$class/report/cards/ivy/console.txt")
[ "$size" -le $((10 << 20)) ] && [ "$size" -gt $((1 << 20)) ] || fail "ivy's console kept $size bytes"
for n in $names; do
  [ "$n" = carl ] && continue
  file "$class/report/cards/$n/picture.png" | grep -q "PNG image data, 600 x 500" || fail "$n has no picture"
done
file "$class/report/cards/ada/replay.gif" | grep -q "GIF image" || fail "ada has no animation"
file "$class/report/cards/bob/difference.png" | grep -q "PNG image data" || fail "bob has no difference picture"
# Failures first in the page, and nothing of a program's unescaped in it.
first=$(grep -o 'data-name="[a-z]*"' "$class/report/index.html" | head -n 1)
[ "$first" = 'data-name="carl"' ] || fail "the page starts with $first"
grep -q '<h2>ada: exited 0, 0 pixels differ</h2>' "$class/report/index.html" || fail "ada's card"
grep -qF '&lt;i&gt;&amp;&lt;/i&gt;' "$class/report/index.html" && ! grep -qF '<i>&</i>' "$class/report/index.html" || fail "fay's console is not escaped"
for n in $names; do grep -q "^\[[0-9]/9\] $n: " "$WORK/out.txt" || fail "no progress line for $n: $(cat "$WORK/out.txt")"; done

# The page in Chromium, from disk, the sort buttons clicked.
web=$(cd "$(dirname "$0")/../web" && pwd)
modules=$web/node_modules
if [ ! -d "$modules/puppeteer-core" ]; then
  mkdir "$WORK/npm" && cp "$web/package.json" "$web/package-lock.json" "$WORK/npm/"
  (cd "$WORK/npm" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund >"$WORK/npm.log" 2>&1) || fail "npm ci: $(tail -5 "$WORK/npm.log")"
  modules=$WORK/npm/node_modules
fi
node "$(dirname "$0")/report_page.mjs" "$modules" "$class/report/index.html" || fail "the report page"

# --- nothing left, nothing touched ------------------------------------------
for n in $names; do ! pgrep -x "$n" >/dev/null || fail "$n is still running"; done
! pgrep -f "$TMPDIR" >/dev/null || fail "a sandbox is still running: $(pgrep -af "$TMPDIR")"
listing >"$WORK/after"
diff "$WORK/before" "$WORK/after" >&2 || fail "the teacher's folder changed"
[ -z "$(ls -A "$TMPDIR")" ] || fail "left in TMPDIR: $(ls -A "$TMPDIR")"

# --- marking again: only what changed ------------------------------------------
sed -i 's/ 40, 0, 30/ 0, 0, 30/' "$class/work/bob.c"
mark -o report >"$WORK/out.txt" 2>&1 || fail "again: $(cat "$WORK/out.txt")"
[ "$(grep -c ': unchanged, ' "$WORK/out.txt")" = 8 ] && ! grep -q 'bob: unchanged' "$WORK/out.txt" || fail "marked again: $(cat "$WORK/out.txt")"
expect bob 'bob,yes,exited,0,,S,0,[1-9][0-9]*'
[ ! -e "$class/report/cards/bob/difference.png" ] || fail "bob's old difference picture stayed"

# --- two shards merged give the same rows ---------------------------------------
mark -o "$WORK/half1" --shard 1/2 >/dev/null 2>&1 || fail "shard 1/2"
mark -o "$WORK/half2" --shard 2/2 >/dev/null 2>&1 || fail "shard 2/2"
"$zemka" mark --merge "$WORK/half1" "$WORK/half2" -o "$WORK/merged" >/dev/null || fail "--merge"
cut -d, -f1-5,7- "$csv" >"$WORK/whole.csv"
cut -d, -f1-5,7- "$WORK/merged/marks.csv" >"$WORK/merged.csv"
diff "$WORK/whole.csv" "$WORK/merged.csv" >&2 || fail "the merged shards differ from the whole"
[ "$(wc -l <"$WORK/half1/marks.csv")" = 6 ] || fail "shard 1/2 has $(wc -l <"$WORK/half1/marks.csv") lines"
# A folder that is not a report is never written into.
status=0
"$zemka" mark --merge "$WORK/half1" -o "$class/work" >"$WORK/out.txt" 2>&1 || status=$?
[ "$status" = 4 ] && [ "$(wc -l <"$WORK/out.txt")" = 1 ] || fail "-o a folder of the teacher's: status $status"
# Where bubblewrap cannot run: one line and status 3, unless --no-sandbox.
mkdir "$WORK/bin"
printf '#!/bin/sh\necho "bwrap: No permissions to create a new namespace" >&2\nexit 1\n' >"$WORK/bin/bwrap"
chmod +x "$WORK/bin/bwrap"
status=0
unsafe() { (cd "$class" && PATH=$WORK/bin:$PATH "$zemka" mark --script task.scr --answers task.in --model model.c -o "$WORK/unsafe" "$@" work/ada); }
unsafe >"$WORK/out.txt" 2>&1 || status=$?
[ "$status" = 3 ] && [ "$(wc -l <"$WORK/out.txt")" = 1 ] && grep -q -- --no-sandbox "$WORK/out.txt" || fail "no sandbox: status $status: $(cat "$WORK/out.txt")"
unsafe --no-sandbox >/dev/null 2>&1 || fail "--no-sandbox"
grep -q '^ada,yes,exited,0,,[0-9.]*,0,' "$WORK/unsafe/marks.csv" || fail "--no-sandbox: $(cat "$WORK/unsafe/marks.csv")"
echo "mark: ok"
