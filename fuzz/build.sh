#!/usr/bin/env bash
# Builds every fuzz target (fuzz/*_fuzz.cpp) with clang's libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer into fuzz/out/.
#
# Two kinds of target:
# - script targets (script_*_fuzz): the script facility's sources, the file
#   opening it uses (support/regular_file.cpp) and the
#   stubs in this folder, without Qt;
# - library targets (every other one): the whole library with its Qt
#   platform layer, linked against Qt 6 Widgets (pkg-config), plus
#   qt_support.cpp. The library's objects are compiled once for all of
#   them, two at a time, through ccache when it is installed.
#
# Environment: FUZZ_OUT (default fuzz/out), FUZZ_CXX (default clang++),
# FUZZ_JOBS (default 2).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out=${FUZZ_OUT:-$here/out}
jobs=${FUZZ_JOBS:-2}
cxx=${FUZZ_CXX:-clang++}
if command -v ccache >/dev/null 2>&1 && [ -z "${FUZZ_CXX:-}" ]; then cxx="ccache $cxx"; fi
mkdir -p "$out/obj"

common=(-std=c++20 -g -O1 -fno-omit-frame-pointer -fno-sanitize-recover=undefined
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Wno-format-zero-length -I"$root")
# Qt is built for position-independent code and says so at compile time.
qt_cflags=$(pkg-config --cflags Qt6Widgets | sed "s/-I/-isystem /g")
qt_libs=$(pkg-config --libs Qt6Widgets)

# The library's sources with the Qt back end, as CMakeLists.txt and
# cmake/ZemkaPlatform-qt.cmake name them: the logic, the engine, the
# emulated window system, settings from the environment and the back end.
library_sources=()
for pattern in zemka/draw zemka/window zemka/script zemka/console zemka/raster zemka/support \
  zemka/platform/emulated zemka/platform/qt; do
  for f in "$root/$pattern"/*.cpp; do [ -e "$f" ] && library_sources+=("$f"); done
done
library_sources+=("$here/qt_support.cpp")

object_of() {
  local rel=${1#"$root"/}
  echo "$out/obj/${rel//\//_}.o"
}

# Compiles one library object (instrumented for coverage, not linked with
# libFuzzer's main); run two at a time by xargs.
compile_one() {
  echo "  compiling ${1#"$FUZZ_ROOT"/}"
  # shellcheck disable=SC2086
  $FUZZ_COMPILE -c "$1" -o "$2"
}
compile_library() {
  export FUZZ_ROOT=$root
  export FUZZ_COMPILE="$cxx ${common[*]} -fPIC -fsanitize=fuzzer-no-link,address,undefined $qt_cflags"
  export -f compile_one
  for src in "${library_sources[@]}"; do printf '%s\0%s\0' "$src" "$(object_of "$src")"; done |
    xargs -0 -n2 -P"$jobs" bash -c 'compile_one "$@"' _
}

script_target() { case $1 in script_*_fuzz) return 0 ;; *) return 1 ;; esac }

library_built=0
for target in "$here"/*_fuzz.cpp; do
  name=$(basename "$target" .cpp)
  echo "building $name"
  if script_target "$name"; then
    $cxx "${common[@]}" -fsanitize=fuzzer,address,undefined "$target" \
      "$root"/zemka/script/*.cpp "$root/zemka/support/regular_file.cpp" "$root/zemka/support/offered_file.cpp" \
      "$here/stubs.cpp" -o "$out/$name"
  else
    if [ $library_built = 0 ]; then compile_library; library_built=1; fi
    objects=()
    for src in "${library_sources[@]}"; do objects+=("$(object_of "$src")"); done
    # shellcheck disable=SC2086
    $cxx "${common[@]}" -fPIC -fsanitize=fuzzer,address,undefined $qt_cflags "$target" "${objects[@]}" \
      $qt_libs -o "$out/$name"
  fi
done
