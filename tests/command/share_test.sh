#!/usr/bin/env bash
# zemka web, zemka windows and zemka serve on what a learner gives them by
# mistake: -o naming a folder (the file goes inside, and the real path is
# reported), a target that cannot be written (one zemka: line), a --back
# address that would run script, a file name that is not UTF-8, a busy
# port; and nothing is left in TMPDIR after any of it.
#   share_test.sh ZEMKA
set -euo pipefail
zemka=$1
own=$(cd "$(dirname "$0")/../support/own" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"; [ -z "${server:-}" ] || kill "$server" 2>/dev/null || true' EXIT
export TMPDIR=$WORK/tmp XDG_CACHE_HOME=$WORK/cache
mkdir -p "$TMPDIR" "$WORK/out"
cd "$WORK"
cp "$own/boxes.c" .
touch a-file

# refused CMD...: one "zemka:" line and a status that is not 0.
refused() {
  local status=0
  "$zemka" "$@" >refusal.txt 2>&1 || status=$?
  [ "$status" != 0 ] && [ "$(wc -l <refusal.txt)" = 1 ] && grep -q '^zemka: ' refusal.txt ||
    fail "zemka $*: status $status: $(cat refusal.txt)"
}

"$zemka" windows -o out boxes.c >said.txt 2>&1 || fail "zemka windows -o out: $(cat said.txt)"
grep -q "^zemka: wrote out/boxes-win64.zip ([0-9]* bytes)" said.txt && unzip -Z1 out/boxes-win64.zip | grep -x boxes/boxes.exe >/dev/null ||
  fail "zemka windows -o out: $(cat said.txt)"
refused windows -o a-file/boxes.zip boxes.c
refused windows -o /proc/boxes.zip boxes.c

for back in 'javascript:alert(1)' 'JavaScript:alert(1)' $'java\nscript:alert(1)' ' javascript:x' 'data:text/html,<b>'; do
  refused web --back "$back" boxes.c
done
refused web --single-file -o a-file/boxes.html boxes.c
refused web -o a-file boxes.c

# A name of bytes that are not UTF-8, a folder as -o, a relative --back.
odd=$(printf 'caf\xe9.c')
cp boxes.c "$odd"
"$zemka" web --single-file --source --back '../index.html?a=1&b=2' -o out "$odd" >said.txt 2>&1 ||
  fail "zemka web of a name that is not UTF-8: $(cat said.txt)"
grep -q "^zemka: wrote out/caf_.html ([0-9]* bytes)" said.txt || fail "zemka web -o out says: $(cat said.txt)"
grep -qF 'href="../index.html?a=1&amp;b=2"' out/caf_.html || fail "the --back address is not in the page as an attribute"
grep -qF "data-file=\"caf$(printf '\xef\xbf\xbd').c\"" out/caf_.html || fail "the file's name is not in the page"

leftover=$(find "$TMPDIR" -mindepth 1 | head -n 3)
[ -z "$leftover" ] || fail "left in TMPDIR: $leftover"

# A busy port is refused in one line; a free one is served.
refused serve --port 0 out
python3 -c 'import socket, time
s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen(); print(s.getsockname()[1], flush=True); time.sleep(60)' >port.txt &
server=$!
for _ in $(seq 50); do [ -s port.txt ] && break; sleep 0.1; done
refused serve --port "$(cat port.txt)" out
grep -q "cannot be used" refusal.txt || fail "a busy port: $(cat refusal.txt)"
echo "zemka web, windows, serve: all checks passed"
