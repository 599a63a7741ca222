#!/usr/bin/env bash
# The Windows suite: cross-builds both architectures (tools/build-windows.sh),
# checks every DLL's and EXE's imports, and runs the x86_64 build under wine
# in an Xvfb session: the unit tests that need no toolkit, the painter's
# replay compared with the Linux replay, and real X input into the Win32
# windows (clicks, keys, Ctrl commands, the ZEMKA_gets dialog), and a
# program of one's own through zemka windows and through the SDK zips
# (MinGW with CMake, the MSVC ABI against zemka.lib; the start page). The
# i686 build is built and its imports checked, its MSVC-ABI program
# linked; it cannot run here (no 32-bit code on these kernels).
#   tests/windows/run.sh [LINUX_PAINTER]
# LINUX_PAINTER (or $ZEMKA_LINUX_PAINTER): the Linux weather-painter to
# compare with; when not given, it is built in build-linux-ref.
# Build trees go below $ZEMKA_WINDOWS_BUILD_BASE (default: the source tree).
set -uo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
here=$src/tests/windows
base=${ZEMKA_WINDOWS_BUILD_BASE:-$src}
logs=$base/build-logs-windows
mkdir -p "$logs"
passed=0
failed=0
result() {  # result NAME STATUS
  if [ "$2" -eq 0 ]; then
    passed=$((passed + 1))
    echo "PASS: $1"
  else
    failed=$((failed + 1))
    echo "FAIL: $1"
  fi
}

for arch in x86_64 i686; do
  ZEMKA_WINDOWS_ARCHS=$arch "$src/tools/build-windows.sh" "$base" >"$logs/build-windows-$arch.log" 2>&1
  status=$?
  [ $status -eq 0 ] || tail -n 30 "$logs/build-windows-$arch.log"
  result "build $arch" $status
done
"$here/imports_test.sh" "$base/build-win64" x86_64-w64-mingw32-objdump
result "imports x86_64" $?
"$here/imports_test.sh" "$base/build-win32" i686-w64-mingw32-objdump
result "imports i686" $?

linux_painter=${1:-${ZEMKA_LINUX_PAINTER:-}}
if [ -z "$linux_painter" ]; then
  ref=$base/build-linux-ref
  { cmake -S "$src" -B "$ref" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEMKA_TESTS=OFF -DZEMKA_EXAMPLES=OFF &&
    cmake --build "$ref" -j2 --target weather-painter; } >"$logs/build-linux-ref.log" 2>&1 || tail -n 30 "$logs/build-linux-ref.log"
  linux_painter=$ref/weather-painter
fi

# The x86_64 programs under wine, in one X server.
fdfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fdfile" >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  rm -f "$fdfile"
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n 1 "$fdfile")"
. "$here/wine_lib.sh"
wine_prefix "$base/build-win64/wineprefix"

win64=$base/build-win64
timeout 1200 "$here/unit_tests.sh" "$win64/tests/windows/zemka-windows-unit-tests.exe"
result "unit tests without the toolkit, under wine" $?
timeout 300 "$here/replay_compare_test.sh" "$win64/weather-painter.exe" "$linux_painter" "$src/examples/weather-demo.scr"
result "painter replay equals the Linux replay outside the text" $?
cp "$win64/zemka.dll" "$win64/tests/windows/" 2>/dev/null
timeout 300 "$here/events_test.sh" "$win64/tests/windows/zemka-event-echo.exe"
result "events end to end under wine" $?
cp "$win64/zemka.dll" "$win64/examples/" 2>/dev/null
timeout 300 "$here/gets_test.sh" "$win64/examples/zemka-example-ask_name.exe"
result "ZEMKA_gets through the system dialog" $?

# A program of one's own as zemka windows makes it, and as a learner on
# Windows builds it with the SDK zips.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win64/CMakeCache.txt")
timeout 900 "$here/own_program_test.sh" "$src/tools/zemka" \
  "$win64/zemka-$version-win64.zip" "$base/build-win32/zemka-$version-win32.zip"
result "a program of one's own: zemka windows, and the SDK zips with CMake and MinGW, with the MSVC ABI and zemka.lib; their start pages" $?

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
