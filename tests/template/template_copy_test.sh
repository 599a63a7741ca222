#!/usr/bin/env bash
# A new back end is its folder and its cmake file, nothing else: in a copy
# of this checkout, zemka/platform/template/ is copied to
# zemka/platform/trial/ and its cmake file moved to
# cmake/ZemkaPlatform-trial.cmake, no other file touched. The copy must
# list the new back end among its back ends, build the weather painter on
# it, and pass the suites its card names (the portable and the conformance
# suite). It is built as a static library and installed: a program in C
# alone builds against the installed package and runs on the new back end.
#   tests/template/template_copy_test.sh [WORK_DIR]
# WORK_DIR (default: a temporary folder whose name holds a space, # and $,
# removed at the end) holds the copy and its build.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
if [[ -n ${1:-} ]]; then
  work=$1
  mkdir -p "$work"
else
  # A path a learner may well have: a space, a # and a $ in it.
  work=$(mktemp -d "${TMPDIR:-/tmp}/zemka copy #\$1-XXXXXX")
  trap 'rm -rf "$work"' EXIT
fi
fail() { echo "template copy: $*" >&2; exit 1; }

copy=$work/checkout
rm -rf "$copy"
mkdir -p "$copy"
# The checkout's own files (tracked, or new and not ignored): no build trees.
(cd "$root" && git ls-files -z --cached --others --exclude-standard |
  xargs -0 cp --parents -t "$copy" 2>/dev/null) || fail "could not copy the checkout"
[[ -f $copy/zemka/platform/template/ZemkaPlatform-template.cmake ]] || fail "the copy has no template"

cp -r "$copy/zemka/platform/template" "$copy/zemka/platform/trial"
mv "$copy/zemka/platform/trial/ZemkaPlatform-template.cmake" "$copy/cmake/ZemkaPlatform-trial.cmake"

listed=$(cmake -P "$copy/cmake/ZemkaBackends.cmake")
grep -q '^trial|' <<< "$listed" || fail "the back ends of the copy do not include trial: $listed"

build=$work/build
cmake -S "$copy" -B "$build" -G Ninja -DZEMKA_PLATFORM=trial -DCMAKE_BUILD_TYPE=Debug -DZEMKA_EXAMPLES=OFF \
  -DZEMKA_SHARED=OFF \
  > "$work/configure.log" 2>&1 || { tail -30 "$work/configure.log" >&2; fail "the copy does not configure"; }
cmake --build "$build" -j2 > "$work/build.log" 2>&1 ||
  { grep -m20 -E 'error|undefined' "$work/build.log" >&2 || tail -30 "$work/build.log" >&2; fail "the copy does not build"; }
[[ -x $build/weather-painter ]] || fail "the copy built no weather painter"
# The new folder's sources were built, not the template's they came from.
grep -q '/zemka/platform/trial/' "$build/compile_commands.json" || fail "nothing of zemka/platform/trial/ was built"
! grep -q '/zemka/platform/template/' "$build/compile_commands.json" || fail "the template's own sources were built"
(cd "$build" && ctest -j2 --output-on-failure > "$work/ctest.log" 2>&1) ||
  { grep -E 'tests passed|Failed|\*\*\*' "$work/ctest.log" | tail -30 >&2; fail "the copy's suites failed"; }
suites=$(grep -oE '(portable|conformance)\.' "$work/ctest.log" | sort -u | tr -d . | tr '\n' ' ')
[[ $suites == "conformance portable " ]] || fail "the copy ran the suites: $suites (wanted conformance and portable)"
grep -E 'tests passed' "$work/ctest.log"

cmake --install "$build" --prefix "$work/prefix" > "$work/install.log" 2>&1 ||
  { tail -20 "$work/install.log" >&2; fail "the copy does not install"; }
consumer=$work/consumer
mkdir -p "$consumer"
cat > "$consumer/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.16)
project(hello LANGUAGES C)
find_package(zemka CONFIG REQUIRED)
add_executable(hello hello.c)
target_link_libraries(hello PRIVATE zemka::zemka)
EOF
cat > "$consumer/hello.c" <<'EOF'
#include <stdio.h>
#include <zemka/zemka.h>
int main(void) {
    int x, y, kind;
    char key;
    if (!ZEMKA_start(0, 0, "", 1)) return 1;
    ZEMKA_draw_circle(1, 0, 0, 20);
    kind = ZEMKA_next_event(&x, &y, &key);
    ZEMKA_stop();
    printf("ended with %d\n", kind);
    return 0;
}
EOF
{ cmake -S "$consumer" -B "$consumer/build" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" &&
  cmake --build "$consumer/build"; } > "$work/consumer.log" 2>&1 ||
  { tail -20 "$work/consumer.log" >&2; fail "a C program does not build against the installed package"; }
said=$(cd "$consumer" && timeout 30 build/hello 2>/dev/null) || fail "the C program failed on the new back end"
# Nothing but the back end's close box can end its wait: ZEMKA_QUIT.
[[ $said == "ended with 4" ]] || fail "the C program said: $said (wanted: ended with 4)"
echo "template copy: trial builds the painter, passes the portable and conformance suites, and installs a package a C program builds against"
