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
