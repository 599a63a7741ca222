#!/usr/bin/env bash
# Cross-builds ZEMKA for Windows with MinGW-w64, x86_64 and i686, each in its
# own tree, and makes the zips that a Windows user unpacks:
#   tools/build-windows.sh [BUILD_BASE]
# Trees: BUILD_BASE/build-win64 and BUILD_BASE/build-win32 (BUILD_BASE
# defaults to the source tree; ZEMKA_WINDOWS_ARCHS="x86_64" builds only one
# of them); zips, the Windows SDK (docs/windows.md): zemka-<version>-win64.zip and
# zemka-<version>-win32.zip in each tree, and the SDK that `zemka windows`
# links against in each tree's sdk/ (bin/zemka.dll, lib/libzemka.dll.a,
# lib/zemka.def). tools/deps-windows.sh installs the compilers and
# llvm-dlltool (for the zips' zemka.lib).
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
base=${1:-$src}
jobs=${ZEMKA_JOBS:-2}
for arch in ${ZEMKA_WINDOWS_ARCHS:-x86_64 i686}; do
  case $arch in
    x86_64) tree=$base/build-win64 ;;
    i686) tree=$base/build-win32 ;;
  esac
  cmake -S "$src" -B "$tree" -G Ninja -DZEMKA_PLATFORM=win32 -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_TOOLCHAIN_FILE="$src/cmake/toolchain-mingw-$arch.cmake" >/dev/null
  cmake --build "$tree" -j"$jobs"
  # The zip: what `cmake --install` puts in place (stripped: the SDK, its
  # start page and ready project), with the example programs and their
  # scripts and answers beside the painter in bin/.
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$tree/CMakeCache.txt")
  case $arch in x86_64) name=zemka-$version-win64 ;; i686) name=zemka-$version-win32 ;; esac
  stage=$tree/zip-stage
  rm -rf "$stage" "$tree/$name.zip"
  cmake --install "$tree" --prefix "$stage/$name" --strip >/dev/null
  cp "$tree"/examples/*.exe "$src"/examples/*.scr "$src"/examples/*.in "$stage/$name/bin/"
  "$arch-w64-mingw32-strip" "$stage/$name"/bin/*.exe
  (cd "$stage" && zip -qr9 "$tree/$name.zip" "$name")
  # The Windows SDK that `zemka windows` links programs against: the DLL
  # and its import library, replaced whole.
  rm -rf "$tree/sdk.new" "$tree/sdk"
  mkdir -p "$tree/sdk.new/bin" "$tree/sdk.new/lib"
  cp "$stage/$name/bin/zemka.dll" "$tree/sdk.new/bin/"
  cp "$tree/libzemka.dll.a" "$tree/zemka.def" "$tree/sdk.new/lib/"
  mv "$tree/sdk.new" "$tree/sdk"
  echo "built $tree: $(stat -c %s "$tree/zemka.dll") bytes zemka.dll," \
    "$(stat -c %s "$stage/$name/bin/zemka.dll") stripped; $name.zip $(stat -c %s "$tree/$name.zip") bytes"
done
