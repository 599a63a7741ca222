#!/usr/bin/env bash
# Builds the web library and the web pages: the library for wasm32-wasi,
# staged as the web SDK that `zemka web` and the playground build against
# (build-web/sdk: libzemka.a, build.json, zemka_page.js, zemka_worker.js,
# make_page.js, page.html, fonts/, sysroot/), then the
# weather painter and each example made a page with its source by
# `tools/zemka web` into build-web/site (or the folder given), with the demo
# scripts beside them, and the gallery: index.html with a card for every
# program, its animated picture made by replaying its script on the
# headless back end (ZEMKA_MOVIE). build-web/gallery holds the same gallery
# as one-file pages, a folder that opens from disk.
#   tools/build-web.sh [--sdk-only] [SITE_DIR]
# ZEMKA_WEB_BUILD names the build tree (default build-web), ZEMKA_WEB_SDK
# the SDK folder (default the tree's sdk/), ZEMKA_HEADLESS_BUILD the
# headless tree that makes the pictures (default build-headless),
# ZEMKA_WEB_GALLERY the folder of one-file pages.
# ZEMKA_WEB_PROGRAMS=DIR makes the gallery of the programs in DIR instead:
# each C or C++ file is a program, its picture replays NAME.scr beside it
# (with NAME.in as its answers); SITE_DIR must be given, and the one-file
# pages go into SITE_DIR/gallery.
set -euo pipefail
shopt -u patsub_replacement 2>/dev/null || true  # "&" in a replacement stays "&"
cd "$(dirname "$0")/.."
root=$PWD
sdk_only=0
if [ "${1:-}" = --sdk-only ]; then
  sdk_only=1
  shift
fi
build=${ZEMKA_WEB_BUILD:-$root/build-web}
sdk=${ZEMKA_WEB_SDK:-$build/sdk}
site=${1:-$build/site}
own=${ZEMKA_WEB_PROGRAMS:-}
if [ -n "$own" ] && [ $sdk_only = 0 ]; then
  [ $# -ge 1 ] || { echo "tools/build-web.sh: ZEMKA_WEB_PROGRAMS needs a SITE_DIR" >&2; exit 2; }
  [ -d "$own" ] || { echo "tools/build-web.sh: $own: no such folder" >&2; exit 2; }
  own=$(realpath "$own")
fi

command -v clang-22 >/dev/null && command -v wasm-ld-22 >/dev/null || { echo "clang 22 is missing: run tools/deps-web.sh" >&2; exit 1; }
modules=$root/web/node_modules
[ -d "$modules/@yowasp/clang" ] || { echo "the web packages are missing: run tools/deps-web.sh" >&2; exit 1; }

# The WASI sysroot of the playground's compiler, unpacked once per package
# version: the library is built against the headers and C++ library that
# the programs compiled in the page use.
resources=$modules/@yowasp/clang/gen/llvm-resources.tar
sysroot=$build/wasi-sysroot
if ! [ "$sysroot/.unpacked" -nt "$resources" ]; then
  rm -rf "$sysroot"
  mkdir -p "$sysroot"
  tar -xf "$resources" -C "$sysroot"
  # Without what only other targets include (GPU and other processors'
  # headers): the SDK, which the package installs, stays smaller.
  (cd "$sysroot" && rm -rf share include/{cuda_wrappers,fuzzer,hlsl,llvm_libc_wrappers,llvm_offload_wrappers} \
     include/{openmp_wrappers,orc,ppc_wrappers,profile,sanitizer,zos_wrappers} &&
   find include -maxdepth 1 -type f -regextype posix-extended -regex \
     'include/(__clang_cuda|__clang_hip|arm_|hexagon|hvx|altivec|vecintrin|opencl|riscv|sifive|htm|s390|msa\.h|velintrin|lasx|lsx|amx|avx|x86|mm3dnow|.*intrin).*' \
     -delete)
  touch "$sysroot/.unpacked"
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-wasi.cmake" \
  -DZEMKA_WASI_SYSROOT="$sysroot" -DZEMKA_PLATFORM=web -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DZEMKA_SHARED=OFF -DZEMKA_TESTS=OFF -DZEMKA_EXAMPLES=OFF >/dev/null
cmake --build "$build" -j2 --target zemka
# The SDK, replaced whole: the library and its header, the recipe for
# programs, the page half with the numbers it shares with the library, the
# program's worker bundled with the WASI shim, the page maker and its
# template, the fonts and the sysroot (hard links).
stage=$(mktemp -d "$build/.sdk-XXXXXX")
trap 'rm -rf "$stage"' EXIT
chmod 755 "$stage"
mkdir -p "$stage/fonts" "$stage/include/zemka"
web=$root/zemka/platform/web
cp "$build/libzemka.a" "$build/build.json" "$stage/"
cp "$root/zemka/zemka.h" "$stage/include/zemka/"
cat "$build/zemka_web_protocol.js" "$web/zemka_page.js" > "$stage/zemka_page.js"
NODE_PATH=$modules "$modules/esbuild/bin/esbuild" "$web/zemka_worker.js" --bundle --format=iife --target=es2022 \
  --minify-syntax --log-level=warning --outfile="$stage/worker.bundle.js"
cat "$build/zemka_web_protocol.js" "$stage/worker.bundle.js" > "$stage/zemka_worker.js"
rm "$stage/worker.bundle.js"
cp "$web/make_page.js" "$root/web/page.html" "$stage/"
cp -al "$sysroot" "$stage/sysroot"
for f in DejaVuSans.ttf DejaVuSans-Bold.ttf DejaVuSansMono.ttf DejaVuSansMono-Bold.ttf; do
  cp /usr/share/fonts/truetype/dejavu/$f "$stage/fonts/"
done
rm -rf "$sdk"
mkdir -p "$(dirname "$sdk")"
mv "$stage" "$sdk"
trap - EXIT
echo "web SDK in $sdk"
[ $sdk_only = 0 ] || exit 0

# The programs: the painter first, then the lessons in their order, then
# the other examples by name; or the programs of ZEMKA_WEB_PROGRAMS by
# name, each named after its file with anything but a safe character as _
# (as zemka web names it), so that a name is safe in any address.
programs=()
declare -A own_file=()
if [ -n "$own" ]; then
  shopt -s nullglob
  for file in "$own"/*.c "$own"/*.cpp; do
    name=$(basename "$file")
    name=${name%.*}
    name=${name//[^A-Za-z0-9_.+-]/_}
    [[ $name == [A-Za-z0-9_]* ]] || name=_$name
    if [ -n "${own_file[$name]:-}" ]; then
      echo "tools/build-web.sh: $file and ${own_file[$name]} would both be the page $name.html" >&2
      exit 2
    fi
    own_file[$name]=$file
  done
  shopt -u nullglob
  [ ${#own_file[@]} -gt 0 ] || { echo "tools/build-web.sh: no C or C++ file in $own" >&2; exit 2; }
  mapfile -t programs < <(printf '%s\n' "${!own_file[@]}" | sort)
else
  programs=(weather-painter)
  while read -r name; do programs+=("$name"); done < <(
    for example in examples/*.c examples/*.cpp; do
      name=$(basename "$example")
      echo "${name%.*}"
    done | sort | awk '/^lesson/ { print; next } { rest[++n] = $0 } END { for (i = 1; i <= n; ++i) print rest[i] }')
fi
sources_of() {  # sources_of PROGRAM: sets files to its files
  if [ -n "$own" ]; then files=("${own_file[$1]}")
  elif [ "$1" = weather-painter ]; then files=(painter/*.cpp)
  else mapfile -t files < <(ls examples/"$1".c examples/"$1".cpp 2>/dev/null); fi
}

# Each program's page, made the way `zemka web` makes anyone's: with its
# source and a link back to the gallery, once served (SITE_DIR) and once
# as one file (the gallery folder).
export ZEMKA_WEB_SDK=$sdk
if [ -n "$own" ]; then gallery=${ZEMKA_WEB_GALLERY:-$site/gallery}; else gallery=${ZEMKA_WEB_GALLERY:-$build/gallery}; fi
mkdir -p "$site" "$gallery"
pids=()
for program in "${programs[@]}"; do
  sources_of "$program"
  for form in served single; do
    # Two links at a time: each takes a core for a few seconds.
    if [ ${#pids[@]} -ge 2 ]; then wait "${pids[0]}"; pids=("${pids[@]:1}"); fi
    if [ $form = served ]; then
      # A lesson opens in the playground from its page.
      playground=()
      [ -n "$own" ] || [ "$program" = weather-painter ] || playground=(--playground "playground/index.html?lesson=$program")
      tools/zemka web --source --back index.html "${playground[@]}" --name "$program" -o "$site" "${files[@]}" >/dev/null &
    else
      tools/zemka web --single-file --source --back index.html --name "$program" -o "$gallery/$program.html" \
        "${files[@]}" >/dev/null &
    fi
    pids+=($!)
  done
done
for pid in "${pids[@]}"; do wait "$pid"; done
[ -n "$own" ] || cp "$root"/examples/*.scr "$site/"

# The animated pictures: every program replays its script on the headless
# back end (the painter its demo), with its answers to ZEMKA_gets.
headless=${ZEMKA_HEADLESS_BUILD:-$root/build-headless}
cmake -S "$root" -B "$headless" -G Ninja -DZEMKA_PLATFORM=headless >/dev/null
targets=()
for program in "${programs[@]}"; do
  if [ -n "$own" ]; then targets=(zemka)
  elif [ "$program" = weather-painter ]; then targets+=(weather-painter)
  else targets+=("zemka-example-$program"); fi
done
cmake --build "$headless" -j2 --target "${targets[@]}" >/dev/null
movies=$(mktemp -d)
trap 'rm -rf "$movies"' EXIT
for program in "${programs[@]}"; do
  if [ -n "$own" ]; then
    # Built here against the headless library, as the examples are there.
    file=${own_file[$program]}
    exe=$movies/$program script=${file%.*}.scr input=${file%.*}.in
    case $file in
      *.c) compile=(cc -std=gnu17) ;;
      *) compile=(c++ -std=c++20) ;;
    esac
    "${compile[@]}" -O1 "-I$root" "$file" -o "$exe" "-L$headless" -lzemka "-Wl,-rpath,$headless" ||
      { echo "$program could not be built for its animation" >&2; exit 1; }
  elif [ "$program" = weather-painter ]; then
    exe=$headless/weather-painter script=$root/examples/weather-demo.scr input=/dev/null
  else
    exe=$headless/examples/zemka-example-$program script=$root/examples/$program.scr input=$root/examples/$program.in
  fi
  [ -f "$input" ] || input=/dev/null
  (cd "$movies" && ZEMKA_PLAY="$script" ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_MOVIE="$movies/$program.gif" \
    timeout 120 "$exe" <"$input" >/dev/null 2>"$movies/$program.log") ||
    { cat "$movies/$program.log" >&2; echo "the animation of $program could not be made" >&2; exit 1; }
  cp "$movies/$program.gif" "$site/"
  cp "$movies/$program.gif" "$gallery/"
done

# The index: a card a program, its title and what it teaches taken from the
# comment that opens its source (its first paragraph, and the first
# sentence of the next: up to a full stop, ! or ? before a blank or the
# paragraph's end, so that 0.5 or ZEMKA.SCR do not end it).
describe() {  # describe FILE: prints the title, a tab, the line
  awk '
    BEGIN { part = 0 }
    NR == 1 && !/^(\/\*|\/\/)/ { exit }
    { line = $0; sub(/^[ \t]*(\/\*+|\*+\/?|\/\/+)[ \t]?/, "", line); sub(/[ \t]*\*\/[ \t]*$/, "", line) }
    /^#include/ || /\*\// && part > 1 { exit }
    line == "" { if (text[part] != "") part++; if (part > 1) exit; next }
    { gsub(/\t/, " ", line); text[part] = text[part] (text[part] == "" ? "" : " ") line }
    END {
      t = text[0]; d = text[1]
      sub(/\.$/, "", t)
      if (match(d, /[.!?]["\047)]*( |$)/)) d = substr(d, 1, RSTART + RLENGTH - 1)
      sub(/ $/, "", d)
      if (d ~ /   / || d ~ /^[ \t]/) d = ""  # a list of keys, not a sentence
      printf "%s\t%s\n", t, d
    }' "$1"
}
# Text for an element or a quoted attribute of the page.
html() {
  local s=${1//"&"/"&amp;"}
  s=${s//"<"/"&lt;"}
  s=${s//">"/"&gt;"}
  s=${s//'"'/"&quot;"}
  s=${s//"'"/"&#39;"}
  printf '%s' "$s"
}
{
  cat <<'END'
<!doctype html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>ZEMKA: the gallery</title>
<style>
  body { font: 15px "DejaVu Sans", sans-serif; background: #eef0f3; margin: 20px; color: #111; }
  h1 { margin: 0 0 4px; }
  #cards { display: grid; grid-template-columns: repeat(auto-fill, minmax(310px, 1fr)); gap: 16px; margin-top: 16px; }
  .card { background: #fff; border: 1px solid #c4c8cc; border-radius: 6px; padding: 8px; text-decoration: none; color: inherit; }
  .card:hover { border-color: #2b5797; box-shadow: 0 2px 8px #0002; }
  .card img { width: 300px; height: 250px; display: block; border: 1px solid #ddd; image-rendering: auto; }
  .card h2 { font-size: 16px; margin: 8px 0 2px; }
  .card p { margin: 0; color: #444; font-size: 13px; }
</style>
</head>
<body>
<h1>ZEMKA: the gallery</h1>
<p>Small programs written with ZEMKA, each running in its page beside its source. The pictures are their own replays.</p>
PLAYGROUND
<div id="cards">
END
  for program in "${programs[@]}"; do
    if [ -z "$own" ] && [ "$program" = weather-painter ]; then
      title="The weather painter"
      line="Rain, snow and hail, planted with clicks, fall while the sun and the boats drift by."
    else
      sources_of "$program"
      title="" line=""
      IFS=$'\t' read -r title line < <(describe "${files[0]}") || true
    fi
    name=$(html "$program") title=$(html "$title") line=$(html "$line")
    printf '<a class="card" href="%s.html" data-program="%s"><img src="%s.gif" alt="%s, at work" width="300" height="250"><h2>%s</h2><p>%s</p></a>\n' \
      "$name" "$name" "$name" "$title" "$title" "$line"
  done
  echo '</div>'
  echo '</body>'
  echo '</html>'
} >"$movies/index.html"
# The served site has the playground; the folder of one-file pages opens
# from disk, where the playground cannot fetch its compiler.
if [ -z "$own" ]; then
  web/playground/stage.sh "$site/playground" "$sdk" examples
  sed 's|^PLAYGROUND$|<p><a id="playground" href="playground/index.html">Write a program of your own in the playground</a>: in the browser, nothing to install.</p>|' \
    "$movies/index.html" > "$site/index.html"
else
  grep -v '^PLAYGROUND$' "$movies/index.html" > "$site/index.html"
fi
grep -v '^PLAYGROUND$' "$movies/index.html" > "$gallery/index.html"
echo "web pages and the gallery in $site; the gallery as files in $gallery"
