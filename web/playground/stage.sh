#!/usr/bin/env bash
# Makes the playground folder: the page, its bundled editor, the compiler
# worker, the SDK it compiles against, the lessons, and the toolchain
# stored gzipped (static servers send files as they are, and the compiler
# is 105 MB raw, a quarter of that gzipped).
#   web/playground/stage.sh OUT_DIR SDK_DIR EXAMPLES_DIR
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: web/playground/stage.sh OUT_DIR SDK_DIR EXAMPLES_DIR" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
modules=$here/../node_modules
out=$1 sdk=$2 examples=$3
gen=$modules/@yowasp/clang/gen
for need in "$sdk/build.json" "$sdk/libzemka.a" "$sdk/include/zemka/zemka.h" "$sdk/zemka_page.js" \
            "$sdk/zemka_worker.js" "$sdk/make_page.js" "$sdk/page.html" "$gen/bundle.js" "$modules/binaryen/index.js" \
            "$modules/esbuild/bin/esbuild"; do
  [ -e "$need" ] || { echo "web/playground/stage.sh: $need is missing" >&2; exit 1; }
done
[ -d "$examples" ] || { echo "web/playground/stage.sh: $examples: no such folder" >&2; exit 1; }

mkdir -p "$(dirname "$out")"
stage=$(mktemp -d "$(dirname "$out")/.playground-XXXXXX")
trap 'rm -rf "$stage"' EXIT
chmod 755 "$stage"
cp "$here/index.html" "$here/playground.css" "$here/compiler_worker.js" "$stage/"
"$modules/esbuild/bin/esbuild" "$here/playground.js" --bundle --format=iife --minify --target=es2022 \
  --log-level=warning --outfile="$stage/playground.bundle.js"

mkdir -p "$stage/sdk"
cp -r "$sdk/include" "$sdk/fonts" "$stage/sdk/"
cp "$sdk/build.json" "$sdk/libzemka.a" "$sdk/zemka_page.js" "$sdk/zemka_worker.js" "$sdk/make_page.js" \
  "$sdk/page.html" "$stage/sdk/"

# gzip takes a quarter of a minute over the toolchain: an earlier
# folder's copy is kept while the package's file is not newer.
gz() {  # gz SOURCE NAME: $stage/NAME.gz
  local old=$out/$2.gz
  mkdir -p "$(dirname "$stage/$2")"
  if [ -f "$old" ] && [ "$old" -nt "$1" ]; then cp -p "$old" "$stage/$2.gz"
  else gzip -9 -n -c "$1" > "$stage/$2.gz"; fi
}
mkdir -p "$stage/toolchain"
cp "$gen/bundle.js" "$stage/toolchain/"
for f in "$gen"/*.wasm "$gen"/*-resources.tar; do gz "$f" "toolchain/$(basename "$f")"; done
gz "$modules/binaryen/index.js" binaryen/index.js

node - "$stage" "$examples" "$gen/../package.json" <<'NODE'
const fs = require('fs'), path = require('path');
const [stage, examples, pkg] = process.argv.slice(2);
// The compiler's files with their sizes: the worker's progress bar and
// the name of the cache that keeps them (a new toolchain, a new cache).
const files = {};
for (const name of fs.readdirSync(path.join(stage, 'toolchain')).sort())
  if (name.endsWith('.gz')) files[name.slice(0, -3)] = fs.statSync(path.join(stage, 'toolchain', name)).size;
const version = JSON.parse(fs.readFileSync(pkg, 'utf8')).version + '-' + Object.values(files).join('.');
fs.writeFileSync(path.join(stage, 'toolchain/manifest.json'), JSON.stringify({version, files}));
// The headers the compiler's tree holds.
const headers = [];
(function walk(dir, rel) {
  for (const e of fs.readdirSync(dir, {withFileTypes: true}).sort((a, b) => a.name < b.name ? -1 : 1))
    if (e.isDirectory()) walk(path.join(dir, e.name), rel + e.name + '/');
    else headers.push(rel + e.name);
})(path.join(stage, 'sdk/include'), '');
fs.writeFileSync(path.join(stage, 'sdk/headers.json'), JSON.stringify(headers));
fs.writeFileSync(path.join(stage, 'sdk/fonts.json'), JSON.stringify(fs.readdirSync(path.join(stage, 'sdk/fonts')).sort()));
// The lessons menu: the lessons in order, then the other examples; the
// title is the first paragraph of the comment a source opens with.
const lessons = [];
for (const file of fs.readdirSync(examples).filter(f => /\.(c|cpp)$/.test(f)))
  {
  const source = fs.readFileSync(path.join(examples, file), 'utf8');
  const m = /^\s*\/\*([\s\S]*?)\*\//.exec(source);
  const comment = m ? m[1].split('\n').map(l => l.replace(/^\s*\*? ?/, '').trim()) : [];
  const first = [];
  for (const line of comment) { if (!line && first.length) break; if (line) first.push(line); }
  const name = file.replace(/\.[^.]+$/, '');
  lessons.push({name, title: first.join(' ') || name, language: file.endsWith('.c') ? 'c' : 'cpp', source});
}
lessons.sort((a, b) => (!a.name.startsWith('lesson') - !b.name.startsWith('lesson')) || (a.name < b.name ? -1 : 1));
fs.writeFileSync(path.join(stage, 'lessons.json'), JSON.stringify(lessons));
NODE

find "$stage" -type d -exec chmod 755 {} + && find "$stage" -type f -exec chmod 644 {} +
rm -rf "$out"
mv "$stage" "$out"
trap - EXIT
echo "playground in $out"
