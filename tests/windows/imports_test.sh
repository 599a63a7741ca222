#!/usr/bin/env bash
# Every DLL and EXE of a Windows build imports only system DLLs (and the
# programs zemka.dll), so the zip runs on a bare Windows; zemka.dll exports
# exactly the ZEMKA_ functions of zemka.h.
#   imports_test.sh BUILD_TREE OBJDUMP
set -euo pipefail
tree=$1 objdump=$2
allowed='^(KERNEL32|USER32|GDI32|msvcrt|zemka)\.dll$'
failed=0
checked=0
while IFS= read -r file; do
  checked=$((checked + 1))
  while IFS= read -r dll; do
    if ! grep -qiE "$allowed" <<<"$dll"; then
      echo "FAIL: $file imports $dll" >&2
      failed=1
    fi
  done < <("$objdump" -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p')
done < <(find "$tree" -maxdepth 3 \( -name '*.dll' -o -name '*.exe' \) -not -path '*/CMakeFiles/*' -not -path '*/zip-stage/*' -not -path '*/wineprefix/*')
[ "$checked" -ge 6 ] || { echo "FAIL: only $checked programs found in $tree" >&2; exit 1; }
# The export table's names, between its "[Ordinal/Name Pointer] Table"
# heading and the next blank line.
exports=$("$objdump" -p "$tree/zemka.dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort)
# The functions zemka.h declares, as the compiler reads the header (its
# -aux-info list of prototypes, by the file they come from), not by the
# pattern that writes zemka.def.
aux=$(mktemp)
trap 'rm -f "$aux"' EXIT
"${objdump%objdump}gcc" -fsyntax-only -aux-info "$aux" -x c "$(dirname "$0")/../../zemka/zemka.h"
header=$(sed -n 's|^/\* .*/zemka/zemka\.h:[0-9]*:.*[ *]\([A-Za-z_][A-Za-z0-9_]*\) (.*|\1|p' "$aux" | sort)
[ "$(wc -l <<<"$header")" -ge 20 ] || { echo "FAIL: only $(wc -l <<<"$header") functions read from zemka.h" >&2; exit 1; }
if [ "$exports" != "$header" ]; then
  echo "FAIL: zemka.dll exports differ from zemka.h:" >&2
  diff <(echo "$header") <(echo "$exports") >&2 || true
  failed=1
fi
[ -f "$tree/libzemka.dll.a" ] || { echo "FAIL: no import library libzemka.dll.a" >&2; failed=1; }
[ -f "$tree/zemka.def" ] || { echo "FAIL: no zemka.def" >&2; failed=1; }
[ "$failed" -eq 0 ] && echo "imports and exports of $checked programs in $(basename "$tree"): ok"
exit "$failed"
