#!/usr/bin/env bash
# Runs the cross-built unit tests under wine, each test in its own process
# as on Linux (the library's state is process-wide). Prints the failures
# and a count; exit code 1 when one failed.
#   unit_tests.sh UNIT_TESTS_EXE
set -uo pipefail
. "$(dirname "$0")/wine_lib.sh"
exe=$1
# A crash ends the process instead of starting the debugger.
export WINEDEBUG=-all
mapfile -t tests < <("$WINE" "$exe" --gtest_list_tests 2>/dev/null | tr -d '\r' | awk '
  /^[^ ]/ { suite = $1; next }
  /^  / { print suite $1 }')
[ "${#tests[@]}" -gt 0 ] || { echo "FAIL: no tests listed by $exe" >&2; exit 1; }
passed=0 failed=0
for t in "${tests[@]}"; do
  if out=$(timeout 60 "$WINE" "$exe" --gtest_filter="$t" 2>&1) && grep -q '\[  PASSED  \] 1 test' <<<"$out"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL: $t"
    tr -d '\r' <<<"$out" | grep -E 'Failure|Expected|Which is|page fault' | head -6
  fi
done
echo "unit tests under wine: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
