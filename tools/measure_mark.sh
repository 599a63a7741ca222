#!/usr/bin/env bash
# Times zemka mark on a class of 30 small programs (each draws a few shapes,
# waits through a short replay and quits), with all jobs and with --jobs 1.
# Every mark is fresh: each run gets a report folder of its own.
#   tools/measure_mark.sh [ZEMKA]    (default: build/zemka)
set -euo pipefail
zemka=$(realpath "${1:-build/zemka}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/class"
for i in $(seq -w 1 30); do
  cat >"$work/class/student$i.c" <<PROG
#include <zemka/zemka.h>
int main(void) {
    int x, y;
    char key;
    ZEMKA_start(0, 0, "", 1);
    ZEMKA_draw_rectangle(2, -100, 50, 100, -50, 0);
    ZEMKA_draw_circle(5, $((10#$i % 3)), 0, 30);
    while (ZEMKA_next_event(&x, &y, &key) != ZEMKA_QUIT) {}
    ZEMKA_stop();
    return 0;
}
PROG
done
cp "$work/class/student01.c" "$work/model.c"
echo 'ZEMKA_PERIODIC(5);' >"$work/task.scr"
cd "$work"
for jobs in "" "--jobs 1"; do
  start=$(date +%s.%N)
  # shellcheck disable=SC2086
  "$zemka" mark --script task.scr --model model.c $jobs -o "report${jobs// /}" class/*.c >/dev/null
  end=$(date +%s.%N)
  printf 'zemka mark %s(30 programs, %s cores): %.1f s\n' "${jobs:+$jobs }" "$(nproc)" "$(awk "BEGIN { print $end - $start }")"
done
