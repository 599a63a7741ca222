#!/usr/bin/env bash
# Measures a program's CPU use and resident memory over a few seconds:
#   tools/measure_cpu.sh SECONDS COMMAND [ARGS...]
# Prints the share of one core used (user + system time over wall time) and
# the resident set size at the end, read from /proc. MEASURE_WARMUP sets
# the seconds left to start-up before measuring (default 1).
set -euo pipefail
secs=$1; shift
"$@" >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
sleep "${MEASURE_WARMUP:-1}"  # start-up is not idling
tick=$(getconf CLK_TCK)
read -r u0 s0 < <(awk '{print $14, $15}' "/proc/$pid/stat")
t0=$(date +%s.%N)
sleep "$secs"
read -r u1 s1 < <(awk '{print $14, $15}' "/proc/$pid/stat")
t1=$(date +%s.%N)
rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
awk -v u="$((u1 - u0))" -v s="$((s1 - s0))" -v t0="$t0" -v t1="$t1" -v tick="$tick" -v rss="$rss" \
  'BEGIN { printf "cpu: %.2f%% of one core over %.1f s; resident: %.1f MB\n", 100 * (u + s) / tick / (t1 - t0), t1 - t0, rss / 1024 }'
