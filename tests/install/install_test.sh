#!/usr/bin/env bash
# Installs the built tree into a fresh prefix and uses it as a stranger
# would: looks at what was installed, builds the examples against it
# through its CMake package and through pkg-config, and runs them and the
# installed painter headless.
#
#   install_test.sh BUILD_DIR SOURCE_DIR LIBDIR KIND PROBE SDKS
# KIND is shared, static or sanitized; a sanitized build is not installed
# (the test reports itself skipped with exit code 77). SDKS is "sdks" when
# the build installs the web and Windows SDKs.
set -euo pipefail
build=$1 source=$2 libdir=$3 KIND=$4 PROBE=$5 SDKS=${6:-no-sdks}
case $KIND in
  sanitized) echo "skipped: a sanitized library is not for installing"; exit 77 ;;
  skipped-without-examples) echo "skipped: the examples are not built (ZEMKA_EXAMPLES=OFF)"; exit 77 ;;
esac
EXAMPLE_SCRIPTS=$source/tests/examples
. "$EXAMPLE_SCRIPTS/example_lib.sh"
. "$source/tests/install/consumer_checks.sh"
. "$source/tests/support/own_program.sh"

prefix=$WORK/prefix
cmake --install "$build" --prefix "$prefix" >"$WORK/install.log" || { cat "$WORK/install.log" >&2; fail "install failed"; }
lib=$prefix/$libdir
examples=$prefix/share/zemka/examples

for f in include/zemka/zemka.h \
  "$libdir/cmake/zemka/zemkaConfig.cmake" "$libdir/cmake/zemka/zemkaConfigVersion.cmake" \
  "$libdir/cmake/zemka/zemkaTargets.cmake" "$libdir/pkgconfig/zemka.pc" \
  bin/weather-painter bin/zemka \
  share/zemka/examples/CMakeLists.txt share/zemka/examples/shapes.cpp share/zemka/examples/bouncing_ball.c \
  share/zemka/examples/scribble.cpp share/zemka/examples/ask_name.c share/zemka/examples/weather-demo.scr \
  share/doc/zemka/README.md share/doc/zemka/api.md share/doc/zemka/scripts.md; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done
cmp -s "$source/zemka/zemka.h" "$prefix/include/zemka/zemka.h" || fail "the installed header differs from zemka/zemka.h"
# Only the public header: the library's inner headers stay inside.
[ "$(find "$prefix/include" -type f | wc -l)" -eq 1 ] || fail "more than the one header installed"

version=$(PKG_CONFIG_PATH=$lib/pkgconfig pkg-config --modversion zemka)
if [ "$KIND" = shared ]; then
  major=${version%%.*}
  [ -f "$lib/libzemka.so.$version" ] || fail "no $libdir/libzemka.so.$version"
  [ "$(readlink "$lib/libzemka.so.$major")" = "libzemka.so.$version" ] || fail "libzemka.so.$major is not a link to libzemka.so.$version"
  [ "$(readlink "$lib/libzemka.so")" = "libzemka.so.$major" ] || fail "libzemka.so is not a link to libzemka.so.$major"
  dynamic=$(readelf -d "$lib/libzemka.so.$version")
  grep -qF "Library soname: [libzemka.so.$major]" <<<"$dynamic" || fail "the SONAME is not libzemka.so.$major"
  # The C++ runtime and Qt come with the library itself.
  for needed in libQt6Widgets.so.6 libQt6Gui.so.6 libQt6Core.so.6 libstdc++.so.6; do
    grep -qF "Shared library: [$needed]" <<<"$dynamic" || fail "libzemka does not need $needed"
  done
else
  [ -f "$lib/libzemka.a" ] || fail "no $libdir/libzemka.a"
fi

# The examples' own CMakeLists.txt against the installed package.
cmake -S "$examples" -B "$WORK/with-cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >"$WORK/cmake.log" 2>&1 || { cat "$WORK/cmake.log" >&2; fail "cmake cannot configure the installed examples"; }
cmake --build "$WORK/with-cmake" -j2 >"$WORK/cmake-build.log" 2>&1 || { cat "$WORK/cmake-build.log" >&2; fail "the installed examples do not build"; }
grep -qF "$prefix/include" "$WORK/with-cmake/compile_commands.json" || fail "the examples were not compiled against $prefix/include"
! grep -qF "$source" "$WORK/with-cmake/compile_commands.json" || fail "the examples were compiled with paths into the source tree"
uses_library "$WORK/with-cmake/zemka-example-bouncing_ball" "$lib"
check_c_example "$WORK/with-cmake/zemka-example-bouncing_ball"
check_cxx_example "$WORK/with-cmake/zemka-example-shapes"

# cc and c++ with the flags of pkg-config.
build_with_pkg_config "$lib/pkgconfig" "$WORK/with-pkg-config" "$examples"
LD_LIBRARY_PATH=$lib uses_library "$WORK/with-pkg-config/bouncing_ball" "$lib"
LD_LIBRARY_PATH=$lib check_c_example "$WORK/with-pkg-config/bouncing_ball"
LD_LIBRARY_PATH=$lib check_cxx_example "$WORK/with-pkg-config/shapes"

# The installed painter finds its library by itself.
uses_library "$prefix/bin/weather-painter" "$lib"
replay "$prefix/bin/weather-painter" "$examples/weather-demo.scr"
expect_line "EOF encountered in script file $examples/weather-demo.scr"
expect_picture some -299 250 299 -249 0,255,255
# The zemka command from the installed tree.
check_zemka_command "$prefix/bin/zemka" "$SDKS"

# zemka_add_program in a CMake project of one's own: the program, and with
# the SDKs its page and its zip.
project=$WORK/cmake-project
mkdir -p "$project"
write_own_programs "$project"
printf '%s\n' 'cmake_minimum_required(VERSION 3.16)' 'project(boxes C CXX)' 'find_package(zemka CONFIG REQUIRED)' \
  'zemka_add_program(boxes boxes.c)' >"$project/CMakeLists.txt"
cmake -S "$project" -B "$project/build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >"$WORK/project.log" 2>&1 &&
  cmake --build "$project/build" >>"$WORK/project.log" 2>&1 || { cat "$WORK/project.log" >&2; fail "zemka_add_program: no program"; }
(cd "$project" && ZEMKA_PLAY=boxes.scr ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_SNAPSHOT="$SNAPSHOT" QT_QPA_PLATFORM=offscreen \
  timeout 60 build/boxes 2>/dev/null) || fail "the program of zemka_add_program did not run"
expect_picture at -175 125 0,0,255 at 100 -100 255,0,255
if [ "$SDKS" = sdks ]; then
  cmake --build "$project/build" --target boxes-web boxes-windows >>"$WORK/project.log" 2>&1 ||
    { cat "$WORK/project.log" >&2; fail "zemka_add_program: no boxes-web or boxes-windows target"; }
  [ -s "$project/build/boxes-web/boxes.html" ] && [ -s "$project/build/boxes-web/boxes.wasm" ] ||
    fail "boxes-web made no page"
  [ -s "$project/build/boxes-win64.zip" ] || fail "boxes-windows made no zip"
fi
echo "install to a prefix: ok"
