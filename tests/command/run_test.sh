#!/usr/bin/env bash
# zemka run as a learner and as a hostile neighbour meet it: a build cache
# only its user can enter, builds decided by what the files hold (paths
# with spaces, $ and #, a header edit, a same-size edit within the same
# second), nothing left in TMPDIR, no display (the headless back end,
# answers from standard input, a wait nothing can end), crashes told in
# words and found with --check, and file names that are awkward but legal.
#   run_test.sh ZEMKA
set -euo pipefail
zemka=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
WORK=$(mktemp -d)
trap 'chmod -R u+w "$WORK" 2>/dev/null; rm -rf "$WORK"' EXIT
export TMPDIR=$WORK/tmp XDG_CACHE_HOME=$WORK/cache
mkdir -p "$TMPDIR"
# The runs here have no display, unless a test gives one.
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

# run_in DIR OUT ARGS...: zemka run in DIR, its output and messages in OUT;
# the exit status in $status.
run_in() {
  local dir=$1 out=$2
  shift 2
  status=0
  (cd "$dir" && timeout 120 "$zemka" run "$@" </dev/null >"$out" 2>&1) || status=$?
}
no_temporaries() {
  local left
  left=$(find "$TMPDIR" "$XDG_CACHE_HOME" -name '.zemka-*' 2>/dev/null)
  [ -z "$left" ] || fail "$1 left $left"
}

# --- builds decided by contents, in awkward folders -----------------------
for folder in "My Programs" 'a$b#c' 'back\ slash'; do
  dir=$WORK/$folder
  mkdir -p "$dir"
  echo '#define WORD "one"' >"$dir/word.h"
  printf '%s\n' '#include <stdio.h>' '#include "word.h"' 'int main(void) { puts(WORD " tea"); return 0; }' >"$dir/cup.c"
  run_in "$dir" "$WORK/out.txt" cup.c
  grep -qx "one tea" "$WORK/out.txt" || fail "$folder: the first run says: $(cat "$WORK/out.txt")"
  echo '#define WORD "two"' >"$dir/word.h"
  run_in "$dir" "$WORK/out.txt" cup.c
  grep -qx "two tea" "$WORK/out.txt" || fail "$folder: a header edit did not rebuild: $(cat "$WORK/out.txt")"
  # The same size and the same modification time: only the contents tell.
  touch -r "$dir/cup.c" "$WORK/time"
  sed -i 's/ tea/ cup/' "$dir/cup.c"
  touch -r "$WORK/time" "$dir/cup.c"
  run_in "$dir" "$WORK/out.txt" cup.c
  grep -qx "two cup" "$WORK/out.txt" || fail "$folder: a same-size edit in the same second did not rebuild"
done
printf '%s\n' '#include <stdio.h>' 'int main(void) { puts("built"); return 0; }' >"$WORK/-ofoo.c"
run_in "$WORK" "$WORK/out.txt" ./-ofoo.c
grep -qx built "$WORK/out.txt" || fail "./-ofoo.c: $(cat "$WORK/out.txt")"
[ ! -e "$WORK/foo.c" ] || fail "a file named -ofoo.c reached the compiler as -o foo.c"
run_in "$WORK" "$WORK/out.txt" -ofoo.c
[ "$status" = 2 ] && [ "$(grep -c '^zemka: ' "$WORK/out.txt")" = 1 ] || fail "-ofoo.c as an option: status $status"
long=$(printf 'x%.0s' $(seq 250)).c
cp "$WORK/-ofoo.c" "$WORK/$long"
run_in "$WORK" "$WORK/out.txt" "$long"
grep -qx built "$WORK/out.txt" || fail "a 252-character name: $(cat "$WORK/out.txt")"
printf '%s\n' 'int main(void) { return missing; }' >"$WORK/broken.c"
run_in "$WORK" "$WORK/out.txt" broken.c
[ "$status" = 1 ] && grep -q "^broken.c:1:" "$WORK/out.txt" || fail "a compile error: status $status"
no_temporaries "building"

# --- the cache is private, and runs only what it built -----------------------
cache=$(find "$XDG_CACHE_HOME" -maxdepth 1 -name zemka)
[ "$(stat -c %a "$cache")" = 700 ] || fail "the cache is $(stat -c %a "$cache"), not 700"
exe=$(find "$cache/run" -type f -name cup | head -n 1)
printf '%s\n' '#!/bin/sh' "touch '$WORK/planted-ran'" >"$exe"
run_in "$WORK/My Programs" "$WORK/out.txt" cup.c
[ ! -e "$WORK/planted-ran" ] && grep -qx "two cup" "$WORK/out.txt" || fail "a program put into the cache ran"
# Without HOME or XDG_CACHE_HOME the cache is in TMPDIR, where anyone can
# make a folder of that name first.
shared=$TMPDIR/zemka-cache-$(id -u)
mkdir -p "$shared/run"
if [ "$(id -u)" = 0 ]; then
  chown -R 65534 "$shared"
  status=0
  (cd "$WORK/My Programs" && env -u HOME -u XDG_CACHE_HOME "$zemka" run cup.c </dev/null >"$WORK/out.txt" 2>&1) || status=$?
  [ "$status" = 4 ] && [ "$(wc -l <"$WORK/out.txt")" = 1 ] && grep -q "belongs to another user" "$WORK/out.txt" ||
    fail "a cache of another user's: status $status: $(cat "$WORK/out.txt")"
fi
rm -rf "$shared"
ln -s "$WORK" "$shared"
status=0
(cd "$WORK/My Programs" && env -u HOME -u XDG_CACHE_HOME "$zemka" run cup.c </dev/null >"$WORK/out.txt" 2>&1) || status=$?
[ "$status" = 4 ] && grep -q "not a folder of its own" "$WORK/out.txt" || fail "a cache that is a link: status $status"
rm "$shared"
(cd "$WORK/My Programs" && env -u HOME -u XDG_CACHE_HOME "$zemka" run cup.c </dev/null >"$WORK/out.txt" 2>&1) ||
  fail "a fresh cache in TMPDIR: $(cat "$WORK/out.txt")"
[ "$(stat -c '%a %u' "$shared")" = "700 $(id -u)" ] || fail "the cache in TMPDIR is $(stat -c '%a %u' "$shared")"

# --- no display ----------------------------------------------------------------
cat >"$WORK/ask.c" <<'EOF'
#include <stdio.h>
#include <zemka/zemka.h>
int main(void) {
    char name[256];
    int x, y, kind;
    char key;
    ZEMKA_start(0, 0, "", 1);
    while (ZEMKA_gets("Your name?", name)) printf("hello %s\n", name);
    kind = ZEMKA_next_event(&x, &y, &key);
    printf("wait returned %d\n", kind);
    ZEMKA_stop();
    return 0;
}
EOF
printf 'Ada\nGrace\n' >"$WORK/answers"
status=0
(cd "$WORK" && timeout 60 "$zemka" run ask.c <answers >out.txt 2>err.txt) || status=$?
[ "$status" = 0 ] || fail "no display: status $status: $(cat "$WORK/err.txt")"
grep -q "^zemka: no display found: running on the headless back end" "$WORK/err.txt" || fail "no display: not said"
[ "$(sed -n 1,2p "$WORK/out.txt" | tr '\n' /)" = "hello Ada/hello Grace/" ] || fail "no display: the answers: $(cat "$WORK/out.txt")"
grep -qx "wait returned 4" "$WORK/out.txt" || fail "a wait that nothing can end did not return ZEMKA_QUIT"
status=0
(cd "$WORK" && QT_QPA_PLATFORM=offscreen timeout 60 "$zemka" run --headless ask.c <answers >out.txt 2>err.txt) || status=$?
[ "$status" = 0 ] && grep -qx "hello Grace" "$WORK/out.txt" || fail "--headless: status $status: $(cat "$WORK/err.txt")"

# timeout signals zemka and its whole process group, and zemka passes the
# signal on: the program gets it twice at once and still ends by its quit
# path, with both pictures whole.
cat >"$WORK/spin.c" <<'EOF'
#include <zemka/zemka.h>
int main(void) {
    int x, y, n = 0;
    char key;
    ZEMKA_start(0, 0, "", 1);
    ZEMKA_set_animation(RUN_ANIMATE);
    while (ZEMKA_next_event(&x, &y, &key) != ZEMKA_QUIT) ZEMKA_draw_circle(2, (n++ % 40) * 10 - 200, 0, 10);
    ZEMKA_stop();
    return 0;
}
EOF
# Built and cached first (a one-tick replay), so that the three seconds
# below are the run's alone, however loaded the machine.
printf 'ZEMKA_PERIODIC(1);\n' >"$WORK/one_tick.scr"
(cd "$WORK" && ZEMKA_PLAY=one_tick.scr ZEMKA_QUIT_AFTER_PLAY=1 timeout 120 "$zemka" run spin.c </dev/null >out.txt 2>&1) ||
  fail "spin.c: $(cat "$WORK/out.txt")"
status=0
(cd "$WORK" && ZEMKA_SNAPSHOT=spin.png ZEMKA_MOVIE=spin.gif timeout -s TERM 3 "$zemka" run spin.c </dev/null >out.txt 2>&1) ||
  status=$?
[ "$status" = 124 ] && grep -q "SIGTERM received" "$WORK/out.txt" || fail "SIGTERM: status $status: $(cat "$WORK/out.txt")"
[ "$(head -c 8 "$WORK/spin.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] && [ "$(head -c 6 "$WORK/spin.gif")" = GIF89a ] &&
  [ "$(tail -c 1 "$WORK/spin.gif" | od -An -tx1 | tr -d ' \n')" = 3b ] || fail "SIGTERM: the pictures are not whole"
[ -z "$(find "$WORK" -maxdepth 1 -name '.spin*')" ] || fail "SIGTERM left temporary files"

# --- crashes --------------------------------------------------------------------
printf '%s\n' '#include <stddef.h>' 'int main(void) {' '    int *p = NULL;' '    *p = 7;' '    return 0;' '}' >"$WORK/crash.c"
run_in "$WORK" "$WORK/out.txt" crash.c
[ "$status" = 139 ] && grep -q "^zemka: the program crash crashed (SIGSEGV).*zemka run --check" "$WORK/out.txt" ||
  fail "a crash: status $status: $(cat "$WORK/out.txt")"
run_in "$WORK" "$WORK/out.txt" --check crash.c
[ "$status" != 0 ] && grep -q "crash.c:4" "$WORK/out.txt" || fail "--check does not name crash.c:4: $(cat "$WORK/out.txt")"
no_temporaries "running"
echo "zemka run: all checks passed"
