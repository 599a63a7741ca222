# Helpers for the example tests: replay a script into an example program
# headless, then look at its exit code, its console lines (ZEMKA_ECHO=1
# copies them to standard error) and its final snapshot.
#
# The caller sets PROBE to the zemka-png-probe program.

fail() { echo "FAIL: $*" >&2; exit 1; }

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
SNAPSHOT=$WORK/snapshot.png
CONSOLE=$WORK/console.txt

# replay PROGRAM SCRIPT: runs PROGRAM in an empty directory with its events
# from SCRIPT, offscreen, until the script ends; the program must end by
# itself with exit code 0 and leave a snapshot.
replay() {
  local program=$1 script=$2 status=0
  (cd "$WORK" && QT_QPA_PLATFORM=offscreen ZEMKA_PLAY="$script" ZEMKA_QUIT_AFTER_PLAY=1 \
    ZEMKA_SNAPSHOT="$SNAPSHOT" ZEMKA_ECHO=1 timeout 120 "$program" >"$WORK/stdout.txt" 2>"$CONSOLE") || status=$?
  finished "$program" "$status"
}

# finished PROGRAM STATUS: the run ended well and left its snapshot.
finished() {
  if [ "$2" -ne 0 ]; then
    cat "$CONSOLE" >&2
    fail "$(basename "$1") ended with exit code $2"
  fi
  [ -s "$SNAPSHOT" ] || fail "$(basename "$1") wrote no snapshot"
}

# expect_line TEXT: the console has the line TEXT.
expect_line() {
  grep -qxF -- "$1" "$CONSOLE" && return 0
  echo "--- console:" >&2
  cat "$CONSOLE" >&2
  fail "no console line '$1'"
}

# expect_no_line TEXT: the console has no line TEXT.
expect_no_line() {
  ! grep -qxF -- "$1" "$CONSOLE" || fail "unexpected console line '$1'"
}

# expect_lines_matching REGEX N: exactly N console lines match REGEX.
expect_lines_matching() {
  local n
  n=$(grep -cE -- "$1" "$CONSOLE" || true)
  [ "$n" -eq "$2" ] || fail "$n console lines match '$1', not $2"
}

# expect_picture CHECK...: the snapshot passes the probe's checks
# (at/not X Y R,G,B; some/none X1 Y1 X2 Y2 R,G,B).
expect_picture() {
  "$PROBE" "$SNAPSHOT" "$@" >&2 || fail "the snapshot does not show what it should"
}
