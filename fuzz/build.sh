#!/usr/bin/env bash
# Builds every fuzz target (fuzz/*_fuzz.cpp) with clang's libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer into fuzz/out/. The
# targets are linked from the script facility's sources and the stubs in
# this folder, without Qt.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out=${FUZZ_OUT:-$here/out}
cxx=${FUZZ_CXX:-clang++}
mkdir -p "$out"

flags=(-std=c++20 -g -O1 -fno-omit-frame-pointer
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
  -I"$root")
library_sources=("$root"/zemka/script/*.cpp "$here/stubs.cpp")

for target in "$here"/*_fuzz.cpp; do
  name=$(basename "$target" .cpp)
  echo "building $name"
  "$cxx" "${flags[@]}" "$target" "${library_sources[@]}" -o "$out/$name"
done
