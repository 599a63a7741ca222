#!/usr/bin/env bash
# Makes the Debian package with cpack and checks it without touching the
# system: its file list and control fields, then its contents unpacked
# with dpkg -x into a scratch directory, where an example is built with
# pkg-config and the painter and the example run headless.
#
#   package_test.sh BUILD_DIR SOURCE_DIR LIBDIR KIND PROBE SDKS
# KIND is shared, static or sanitized; a sanitized build is not packaged
# (the test reports itself skipped with exit code 77). SDKS is "sdks" when
# the build installs the web and Windows SDKs: then the package must hold
# them, and the zemka command in the unpacked tree must use them.
set -euo pipefail
build=$1 source=$2 libdir=$3 KIND=$4 PROBE=$5 SDKS=${6:-no-sdks}
case $KIND in
  sanitized) echo "skipped: a sanitized library is not for packaging"; exit 77 ;;
  skipped-without-examples) echo "skipped: the examples are not built (ZEMKA_EXAMPLES=OFF)"; exit 77 ;;
esac
EXAMPLE_SCRIPTS=$source/tests/examples
. "$EXAMPLE_SCRIPTS/example_lib.sh"
. "$source/tests/install/consumer_checks.sh"
. "$source/tests/support/own_program.sh"

(cd "$build" && cpack -G DEB -B "$WORK/package") >"$WORK/cpack.log" 2>&1 || { cat "$WORK/cpack.log" >&2; fail "cpack failed"; }
debs=("$WORK"/package/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single .deb"
deb=${debs[0]}

dpkg -c "$deb" >"$WORK/contents.txt"
listed() { awk '{print $6}' "$WORK/contents.txt" | grep -xF -- "./usr/$1" >/dev/null || fail "the package lacks /usr/$1"; }
listed include/zemka/zemka.h
listed "$libdir/cmake/zemka/zemkaConfig.cmake"
listed "$libdir/cmake/zemka/zemkaConfigVersion.cmake"
listed "$libdir/cmake/zemka/zemkaTargets.cmake"
listed "$libdir/pkgconfig/zemka.pc"
listed bin/weather-painter
listed bin/zemka
if [ "$SDKS" = sdks ]; then
  for f in libzemka.a build.json include/zemka/zemka.h zemka_page.js zemka_worker.js make_page.js page.html \
           fonts/DejaVuSans.ttf fonts/DejaVuSansMono-Bold.ttf sysroot/lib/wasm32-wasip1/libc.a; do
    listed "share/zemka/web/$f"
  done
  for arch in x86_64 i686; do
    listed "share/zemka/windows/$arch/bin/zemka.dll"
    listed "share/zemka/windows/$arch/lib/libzemka.dll.a"
  done
fi
for f in CMakeLists.txt shapes.cpp bouncing_ball.c scribble.cpp ask_name.c weather-demo.scr; do
  listed "share/zemka/examples/$f"
done
listed share/doc/zemka/api.md

[ "$(dpkg-deb -f "$deb" Package)" = zemka ] || fail "the package is not called zemka"
version=$(dpkg-deb -f "$deb" Version)
if [ "$KIND" = shared ]; then
  listed "$libdir/libzemka.so.$version"
  grep -qF "./usr/$libdir/libzemka.so.${version%%.*} -> libzemka.so.$version" "$WORK/contents.txt" ||
    fail "the package lacks the SONAME link"
  grep -qF "./usr/$libdir/libzemka.so -> libzemka.so.${version%%.*}" "$WORK/contents.txt" ||
    fail "the package lacks the link for linking"
  # The names in Depends, without their versions.
  depends=$(dpkg-deb -f "$deb" Depends | sed -e 's/ *([^)]*)//g' -e 's/, */\n/g')
  for p in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 libc6; do
    grep -qxF "$p" <<<"$depends" || fail "the package does not depend on $p: $(echo $depends)"
  done
else
  listed "$libdir/libzemka.a"
fi

# The unpacked tree works from where it lies.
root=$WORK/root
dpkg -x "$deb" "$root"
lib=$root/usr/$libdir
build_with_pkg_config "$lib/pkgconfig" "$WORK/built" "$root/usr/share/zemka/examples"
LD_LIBRARY_PATH=$lib uses_library "$WORK/built/bouncing_ball" "$lib"
LD_LIBRARY_PATH=$lib check_c_example "$WORK/built/bouncing_ball"
LD_LIBRARY_PATH=$lib check_cxx_example "$WORK/built/shapes"
uses_library "$root/usr/bin/weather-painter" "$lib"
replay "$root/usr/bin/weather-painter" "$root/usr/share/zemka/examples/weather-demo.scr"
expect_picture some -299 250 299 -249 0,255,255
check_zemka_command "$root/usr/bin/zemka" "$SDKS"
echo "Debian package $(basename "$deb"): ok"
