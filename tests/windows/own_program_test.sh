#!/usr/bin/env bash
# A program of one's own (tests/support/own_program.sh) through the zemka
# command: `zemka windows` makes its zip, the exe runs under wine from the
# unzipped folder with a replay, and its picture equals the Linux replay of
# the same program (`zemka run`) pixel for pixel (it draws no text). The
# 32-bit zip is made and looked into. The animation of the same replay
# (ZEMKA_MOVIE) is the same file, byte for byte, on both systems.
# Then the same program built as a learner on Windows builds it, with the
# SDK zips unpacked alone here (no checkout or build tree on a path the
# Windows builds use): a CMake project with a MinGW toolchain file of its
# own (zemka.dll copied beside the exe), and the MSVC ABI linked by
# lld-link against lib/zemka.lib alone; the x64 programs replay to the Linux
# picture, the x86 one (it cannot run here) is compiled with stdcall as the
# default (/Gz) and must link and import only what its zemka.dll exports.
# Each zip's START.md names only files in the zip and no zemka command.
#   own_program_test.sh ZEMKA_COMMAND SDK_ZIP64 SDK_ZIP32
set -euo pipefail
. "$(dirname "$0")/wine_lib.sh"
. "$(dirname "$0")/../support/own_program.sh"
src=$(cd "$(dirname "$0")/../.." && pwd)
zemka=$1 zip64=$(realpath "$2") zip32=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
write_own_programs "$work"
cd "$work"
# replays_like_linux EXE [MOVIE]: EXE replays boxes.scr under wine from its
# own folder, as a double click runs it, to the Linux picture.
replays_like_linux() {
  local dir differing
  dir=$(dirname "$1")
  cp boxes.scr "$dir/"
  (cd "$dir" && env ZEMKA_PLAY=boxes.scr ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_SNAPSHOT=windows.png ${2:+ZEMKA_MOVIE=$2} \
    timeout 120 "$WINE" "$(basename "$1")" >/dev/null 2>"$work/wine.err") || { cat "$work/wine.err" >&2; fail "$1 failed under wine"; }
  [ -s "$dir/windows.png" ] || fail "no snapshot from $1"
  differing=$(compare -metric AE "$dir/windows.png" linux.png null: 2>&1 || true)
  [ "$differing" = 0 ] || fail "$differing pixels differ between $1 and the Linux replay"
}
QT_QPA_PLATFORM=offscreen ZEMKA_PLAY=boxes.scr ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_SNAPSHOT=linux.png ZEMKA_MOVIE=linux.gif \
  XDG_CACHE_HOME=$work/cache timeout 120 "$zemka" run boxes.c >run.log 2>&1 || { cat run.log >&2; fail "zemka run failed"; }
"$zemka" windows boxes.c >zip.log 2>&1 || { cat zip.log >&2; fail "zemka windows failed"; }
"$zemka" windows --x86 boxes.c -o boxes-32.zip >>zip.log 2>&1 || { cat zip.log >&2; fail "zemka windows --x86 failed"; }
[ -f boxes-win64.zip ] || fail "no boxes-win64.zip"
for zip in boxes-win64.zip boxes-32.zip; do
  [ "$(unzip -Z1 "$zip" | grep -v '/$' | sort | tr '\n' ' ')" = "boxes/README.txt boxes/boxes.exe boxes/zemka.dll " ] ||
    fail "$zip holds $(unzip -Z1 "$zip" | tr '\n' ' ')"
done
mkdir friend
(cd friend && unzip -q ../boxes-win64.zip)
[ "$(compare -metric AE linux.png -size 600x500 xc:white null: 2>&1 || true)" != 0 ] || fail "the Linux replay drew nothing"
replays_like_linux friend/boxes/boxes.exe windows.gif
[ -s linux.gif ] && cmp -s friend/boxes/windows.gif linux.gif || fail "the Windows animation differs from the Linux one"
echo "zemka windows: the unzipped exe replays to the Linux picture and animation: ok"

unzip -q "$zip64" -d x64 && unzip -q "$zip32" -d x86 || fail "cannot unzip the SDK zips"
sdk64=$(echo "$work"/x64/*) sdk32=$(echo "$work"/x86/*)
cat >mingw.cmake <<'EOF'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
EOF
mkdir project && cp boxes.c project/
printf 'cmake_minimum_required(VERSION 3.16)\nproject(own C)\nfind_package(zemka CONFIG REQUIRED)\nzemka_add_program(boxes boxes.c)\n' >project/CMakeLists.txt
# The project of one's own finds the package through CMAKE_PREFIX_PATH, the
# zip's ready project by itself; nothing may lead to a build tree.
(unset CMAKE_PREFIX_PATH zemka_DIR zemka_ROOT
  cmake -S project -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE="$work/mingw.cmake" -DCMAKE_PREFIX_PATH="$sdk64" \
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF && cmake --build build &&
  cmake -S "$sdk64" -B hello -G Ninja -DCMAKE_TOOLCHAIN_FILE="$work/mingw.cmake" -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF &&
  cmake --build hello) >cmake.log 2>&1 || { cat cmake.log >&2; fail "a CMake project did not build against the zip"; }
grep -qxF "zemka_DIR:PATH=$sdk64/lib/cmake/zemka" build/CMakeCache.txt || fail "the package was not found in the zip"
! grep -rqF "$src" build hello || fail "a CMake build used a path in $src"
for exe in build/boxes.exe hello/hello.exe; do
  cmp -s "$(dirname "$exe")/zemka.dll" "$sdk64/bin/zemka.dll" || fail "no copy of zemka.dll beside $exe"
done
replays_like_linux build/boxes.exe
echo "the x64 SDK with MinGW and CMake: the program replays to the Linux picture, zemka.dll beside it: ok"

# zemka.h for Microsoft's compiler: clang's MSVC targets, and cl's own
# branch (its sal.h stood in for).
echo '#define _Printf_format_string_' >sal.h
for lang in c c++; do
  for arch in x86_64 i686; do
    clang --target=$arch-pc-windows-msvc -fms-extensions -fsyntax-only -Wall -Wextra -Werror -x $lang "$sdk64/include/zemka/zemka.h" ||
      fail "zemka.h does not compile as $lang for $arch-pc-windows-msvc"
  done
  clang --target=x86_64-pc-windows-msvc -U__clang__ -isystem . -fsyntax-only -Werror -x $lang "$sdk64/include/zemka/zemka.h" ||
    fail "zemka.h does not compile as $lang in the branch for Microsoft's compiler"
done
# The MSVC ABI with no C runtime: an entry point of its own, ExitProcess
# from a kernel32 import library made of two lines.
printf 'int main(void);\n__declspec(dllimport) void __stdcall ExitProcess(unsigned int code);\n%s\n' \
  'void __cdecl start(void) { ExitProcess((unsigned int)main()); }' >entry.c
msvc_build() {  # msvc_build SDK ARCH MACHINE EXIT_PROCESS [CFLAGS...]: ARCH/boxes.exe
  local sdk=$1 arch=$2 machine=$3 f
  mkdir "$arch"
  printf 'LIBRARY kernel32.dll\nEXPORTS\n    %s\n' "$4" >"$arch/kernel32.def"
  llvm-dlltool -m "$machine" -d "$arch/kernel32.def" -l "$arch/kernel32.lib"
  shift 4
  for f in boxes entry; do
    clang --target="$arch-pc-windows-msvc" -O1 -Wall -Werror "$@" -I"$sdk/include" -c $f.c -o "$arch/$f.obj" || fail "$f.c does not compile for $arch"
  done
  lld-link /nologo /entry:start /subsystem:console /nodefaultlib /out:"$arch/boxes.exe" \
    "$arch/boxes.obj" "$arch/entry.obj" "$sdk/lib/zemka.lib" "$arch/kernel32.lib" || fail "lld-link failed for $arch"
}
msvc_build "$sdk64" x86_64 i386:x86-64 ExitProcess
cp "$sdk64/bin/zemka.dll" x86_64/
replays_like_linux x86_64/boxes.exe
msvc_build "$sdk32" i686 i386 ExitProcess@4 -mrtd
imports=$(i686-w64-mingw32-objdump -p i686/boxes.exe | awk '/DLL Name:/ {z = /zemka\.dll/; next} z && $3 ~ /^ZEMKA_/ {print $3}' | sort)
exports=$(i686-w64-mingw32-objdump -p "$sdk32/bin/zemka.dll" | sed -n 's/^[[:space:]]*\[ *[0-9]*\] \(ZEMKA_[a-z_]*\)$/\1/p' | sort)
[ "$(wc -l <<<"$imports")" -ge 5 ] && [ -z "$(comm -23 <(echo "$imports") <(echo "$exports"))" ] ||
  fail "the x86 program's imports from zemka.dll are not its exports: $(tr '\n' ' ' <<<"$imports")"
echo "the MSVC ABI against zemka.lib: x64 replays to the Linux picture, x86 links to the DLL's names: ok"

for zip in "$zip64" "$zip32"; do
  python3 - "$zip" <<'EOF' || fail "$(basename "$zip"): START.md names what is not in the zip"
import re, subprocess, sys
unzip = lambda *args: subprocess.run(["unzip", *args], capture_output=True, text=True).stdout
entries = unzip("-Z1", sys.argv[1]).split()
root = entries[0].split("/")[0]
inside = {e[len(root) + 1:].rstrip("/") for e in entries}
page = unzip("-p", sys.argv[1], root + "/START.md")
series = root[:-2]  # zemka-VERSION-win, then 64 or 32
made = {"hello.exe", series + "64.zip", series + "32.zip"}  # what the steps make, and the zips
fenced = r"^```[^\n]*\n(.*?)^```"
code = "\n".join(re.findall(fenced, page, re.S | re.M) + re.findall(r"`([^`\n]+)`", re.sub(fenced, "", page, flags=re.S | re.M)))
names = [t.split("#")[0] for t in re.findall(r"\]\(([^):#][^):]*)\)", page)]
for token in re.split(r"[\s=]+", code):
    token = token.strip("\"'(),;<>").replace("\\", "/")
    if (re.search(r"\w", token) and token[0] != "-" and "$(" not in token and "::" not in token and not re.fullmatch(r"/\w+", token)
            and ("/" in token or re.search(r"\w\.[A-Za-z]\w{0,5}$", token))):
        names.append(re.sub(rf"^[A-Za-z]:/{series}(64|32)(/|$)", "", token))
wrong = [n for n in names if n.strip("/") and n not in made
         and not any(e == n.strip("/") or e.endswith("/" + n.strip("/")) for e in inside)]
wrong += [line for line in code.splitlines() if re.match(r"\s*(tools/)?zemka\s", line)]
if not page or len(names) < 10 or wrong:
    sys.exit(f"{root}/START.md: {len(names)} paths; not in the zip, or commands Windows has not: {wrong}")
print(f"{root}/START.md: the {len(names)} paths it names are in the zip: ok")
EOF
done
