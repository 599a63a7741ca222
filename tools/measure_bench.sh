#!/usr/bin/env bash
# Builds the benchmarks in a Release tree and runs them:
#   tools/measure_bench.sh [BUILD_DIR] [BENCHMARK FLAGS...]
# BUILD_DIR defaults to build-bench. Each benchmark runs five times and the
# medians are reported, the repetitions of all benchmarks interleaved so
# that a change in the machine's load falls on all of them alike; the table
# at the end holds the ratios of this run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}
shift || true
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEMKA_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target zemka-bench zemka-painter-load weather-painter
QT_QPA_PLATFORM=offscreen "$build/bench/zemka-bench" --benchmark_repetitions=5 \
  --benchmark_enable_random_interleaving=true \
  --benchmark_report_aggregates_only=true "$@"
