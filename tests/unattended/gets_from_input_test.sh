#!/usr/bin/env bash
# ZEMKA_gets on the headless back end: the answer is a line of standard
# input; at the end of standard input the question cannot be asked, and
# the program goes on instead of waiting for ever. A line ends at its
# newline whatever it holds, so a NUL byte never shifts the later answers.
#   gets_from_input_test.sh ASK_NAME_PROGRAM SCRIPT ASKS_PROGRAM
set -euo pipefail
program=$1 script=$2 asks=$3
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
run() {  # run STDIN_FILE: the program's console lines go to console.txt
  ZEMKA_PLAY="$script" ZEMKA_QUIT_AFTER_PLAY=1 ZEMKA_ECHO=1 timeout 60 "$program" <"$1" >/dev/null 2>console.txt ||
    { cat console.txt >&2; fail "exit code $?"; }
}
printf 'Ada Lovelace\r\nnot read\n' >answer.txt
run answer.txt
grep -qx "Hello, Ada Lovelace!" console.txt || { cat console.txt >&2; fail "no greeting with the answered name"; }
! grep -q "could not be asked" console.txt || fail "the question was refused although answered"
run /dev/null
grep -qx "The question could not be asked" console.txt || { cat console.txt >&2; fail "no refusal at the end of input"; }
grep -qx "Hello, stranger!" console.txt || fail "the program did not go on without an answer"

printf 'one\0two\r\nthree\n\0\n' >nul.txt
ZEMKA_ECHO=1 timeout 60 "$asks" <nul.txt >/dev/null 2>console.txt || { cat console.txt >&2; fail "asks: exit code $?"; }
[ "$(grep -E '^(answer|question) ' console.txt)" = "$(printf '%s\n' 'answer 1: [onetwo]' 'answer 2: [three]' 'answer 3: []')" ] ||
  { cat -A console.txt >&2; fail "the answers after a NUL byte are not the lines given"; }
echo "ZEMKA_gets from standard input: ok"
