# Runs two example programs built against an installed ZEMKA, the C one
# (bouncing_ball) and the C++ one (shapes), on the example tests' scripts.
# Needs example_lib.sh, and EXAMPLE_SCRIPTS set to tests/examples.

# check_c_example PROGRAM: the bouncing ball bounces where it should.
check_c_example() {
  replay "$1" "$EXAMPLE_SCRIPTS/bouncing_ball.scr"
  expect_line "Bounce off the right wall in frame 15"
  expect_line "Bounce off the top wall in frame 16"
  expect_picture at 240 220 255,0,0 at 0 0 255,255,255
}

# check_cxx_example PROGRAM: the shapes are drawn and logged.
check_cxx_example() {
  replay "$1" "$EXAMPLE_SCRIPTS/shapes.scr"
  expect_line "red circle at (-200,120), radius 40"
  expect_line 'black text at (208,-104), "(200, -100)"'
  expect_picture at -200 120 255,102,0 at 0 110 0,255,0 at 200 -100 0,0,0
}

# uses_library PROGRAM DIR: the program loads libzemka from DIR (or, for a
# static library, has it linked in and loads none).
uses_library() {
  local found
  found=$(ldd "$1" | sed -n 's/^[[:space:]]*libzemka\.so[^ ]* => \([^ ]*\) .*/\1/p')
  if [ "$KIND" = static ]; then
    [ -z "$found" ] || fail "$(basename "$1") loads $found, but the library is static"
    return 0
  fi
  [ -n "$found" ] || fail "$(basename "$1") does not load libzemka"
  [ "$(readlink -f "$found")" = "$(readlink -f "$2")/$(basename "$(readlink -f "$found")")" ] ||
    fail "$(basename "$1") loads $found, not the one in $2"
}

# build_with_pkg_config PREFIX_PKGCONFIG_DIR OUT_DIR: builds both examples
# with cc and c++ and nothing but the flags of pkg-config.
build_with_pkg_config() {
  local pcdir=$1 out=$2 examples=$3 static=()
  [ "$KIND" = static ] && static=(--static)
  mkdir -p "$out"
  PKG_CONFIG_PATH=$pcdir pkg-config --exists zemka || fail "pkg-config does not find zemka in $pcdir"
  local flags
  flags=$(PKG_CONFIG_PATH=$pcdir pkg-config "${static[@]}" --cflags --libs zemka)
  # shellcheck disable=SC2086
  cc -std=c11 -Wall -Werror "$examples/bouncing_ball.c" $flags -o "$out/bouncing_ball" ||
    fail "cc cannot build the C example with: $flags"
  # shellcheck disable=SC2086
  c++ -std=c++17 -Wall -Werror "$examples/shapes.cpp" $flags -o "$out/shapes" ||
    fail "c++ cannot build the C++ example with: $flags"
}

# check_zemka_command ZEMKA SDKS: the installed zemka command on programs of
# one's own (tests/support/own_program.sh), outside any build tree: zemka
# run builds and runs a C and a C++ one headless (built again only when a
# file changed), reports a compile error with its file and line, refuses
# what it cannot build with one line. SDKS is "sdks" when the web and
# Windows SDKs were installed too: then zemka web --single-file and zemka
# windows work from the installed tree as well.
check_zemka_command() {
  local zemka=$1 sdks=$2 own=$WORK/own status
  mkdir -p "$own"
  write_own_programs "$own"
  export XDG_CACHE_HOME=$WORK/zemka-cache
  "$zemka" --version | grep -x "zemka [0-9.]*" >/dev/null || fail "zemka --version says: $("$zemka" --version)"
  "$zemka" --help | grep "zemka run FILE" >/dev/null || fail "zemka --help does not show zemka run"
  (cd "$own" && QT_QPA_PLATFORM=offscreen ZEMKA_PLAY=boxes.scr ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_SNAPSHOT="$SNAPSHOT" \
    ZEMKA_ECHO=1 timeout 120 "$zemka" run boxes.c >"$WORK/stdout.txt" 2>"$CONSOLE") || status=$?
  finished boxes.c "${status:-0}"
  # The box, the oval, the dots of both clicks, the bar after five ticks.
  expect_picture at -175 125 0,0,255 at 100 150 0,255,0 at 100 -100 255,0,255 at -200 150 255,0,255 \
    at -195 -65 0,0,0 none -250 -50 -242 -80 0,0,0
  local exe
  exe=$(ls "$XDG_CACHE_HOME"/zemka/run/boxes-*/boxes)
  [ -x "$exe" ] || fail "zemka run left no program in its cache"
  local built
  built=$(stat -c %Y.%N "$exe")
  sleep 1
  (cd "$own" && QT_QPA_PLATFORM=offscreen ZEMKA_PLAY=boxes.scr ZEMKA_QUIT_AFTER_PLAY=1 "$zemka" run boxes.c 2>/dev/null) ||
    fail "the second zemka run failed"
  [ "$(stat -c %Y.%N "$exe")" = "$built" ] || fail "zemka run built an unchanged program again"
  echo "/* changed */" >>"$own/boxes.c"
  (cd "$own" && QT_QPA_PLATFORM=offscreen ZEMKA_PLAY=boxes.scr ZEMKA_QUIT_AFTER_PLAY=1 "$zemka" run boxes.c 2>/dev/null) ||
    fail "zemka run of the changed program failed"
  [ "$(stat -c %Y.%N "$exe")" != "$built" ] || fail "zemka run did not build a changed program again"

  if [ "$KIND" = shared ]; then
    # No display: the installed headless library draws the same picture.
    rm -f "$SNAPSHOT"
    status=0
    (cd "$own" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ZEMKA_PLAY=boxes.scr ZEMKA_QUIT_AFTER_PLAY=1 \
      ZEMKA_SNAPSHOT="$SNAPSHOT" timeout 120 "$zemka" run boxes.c </dev/null >"$WORK/stdout.txt" 2>"$CONSOLE") || status=$?
    finished boxes.c "$status"
    grep -q "^zemka: no display found: running on the headless back end" "$CONSOLE" || fail "no display: not said"
    expect_picture at -175 125 0,0,255 at 100 150 0,255,0 at 100 -100 255,0,255 at -195 -65 0,0,0
  fi
  status=0
  (cd "$own" && QT_QPA_PLATFORM=offscreen ZEMKA_PLAY=boxes.scr ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_SNAPSHOT="$SNAPSHOT" \
    ZEMKA_ECHO=1 timeout 120 "$zemka" run rings.cpp >"$WORK/stdout.txt" 2>"$CONSOLE") || status=$?
  finished rings.cpp "$status"
  expect_picture some 37 -2 43 2 255,102,0 some 117 -2 123 2 255,102,0 at 0 0 255,255,255 at 100 -100 0,255,255

  printf '%s\n' '#include <zemka/zemka.h>' 'int main(void) {' '    ZEMKA_start(0, 0, "", 1)' '    return 0;' '}' >"$own/broken.c"
  status=0
  (cd "$own" && "$zemka" run broken.c >"$WORK/broken.txt" 2>&1) || status=$?
  [ "$status" -ne 0 ] || fail "zemka run of a program that does not compile exited with 0"
  grep -q "^broken.c:3:" "$WORK/broken.txt" || { cat "$WORK/broken.txt" >&2; fail "the compile error does not name broken.c:3"; }
  echo "notes" >"$own/notes.txt"
  for bad in notes.txt missing.c; do
    status=0
    (cd "$own" && "$zemka" run "$bad" >"$WORK/bad.txt" 2>&1) || status=$?
    [ "$status" -eq 2 ] && [ "$(wc -l <"$WORK/bad.txt")" -eq 1 ] && grep -q "^zemka: $bad: " "$WORK/bad.txt" ||
      { cat "$WORK/bad.txt" >&2; fail "zemka run $bad: status $status and not one line"; }
  done
  status=0
  "$zemka" paint boxes.c >"$WORK/bad.txt" 2>&1 || status=$?
  [ "$status" -eq 2 ] && grep -q "unknown command 'paint'" "$WORK/bad.txt" || fail "an unknown command is not refused"

  [ "$sdks" = sdks ] || { echo "no web and Windows SDKs installed: zemka web and zemka windows not tried"; return 0; }
  (cd "$own" && "$zemka" web --single-file boxes.c >"$WORK/web.txt" 2>&1) || { cat "$WORK/web.txt" >&2; fail "zemka web --single-file failed"; }
  grep -q 'data:font/ttf;base64' "$own/boxes.html" && grep -q 'wasmBase64: "AGFzbQ' "$own/boxes.html" &&
    ! grep -q '<script src=' "$own/boxes.html" ||
    fail "boxes.html does not hold its fonts and program"
  (cd "$own" && "$zemka" windows boxes.c >"$WORK/windows.txt" 2>&1 && "$zemka" windows --x86 boxes.c >>"$WORK/windows.txt" 2>&1) ||
    { cat "$WORK/windows.txt" >&2; fail "zemka windows failed"; }
  for zip in boxes-win64.zip boxes-win32.zip; do
    local listing
    listing=$(unzip -Z1 "$own/$zip")
    grep -qx "boxes/zemka.dll" <<<"$listing" && grep -qx "boxes/boxes.exe" <<<"$listing" || fail "$zip holds: $listing"
  done
  unset XDG_CACHE_HOME
}
