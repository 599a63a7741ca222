#!/usr/bin/env bash
# Builds every fuzz target and runs each for the given number of seconds
# (default 5), one after another, on its seed corpus in fuzz/corpus/ (see
# corpus_of). Names after the seconds choose targets: fuzz/run.sh 600
# draw_fuzz console_fuzz.
# Inputs that the fuzzer finds go to fuzz/out/corpus/, crashes to
# fuzz/out/artifacts/; the seed corpus is not changed. Fails when a target
# finds a crash, a leak or a failed check.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
seconds=${1:-5}
shift || true
out=${FUZZ_OUT:-$here/out}

"$here/build.sh"

# The seed folder of a target: fuzz/corpus/<name without _fuzz>, except
# that the reader's seeds are plain script files in fuzz/corpus/script.
corpus_of() {
  case $1 in
    script_reader_fuzz) echo script ;;
    *) echo "${1%_fuzz}" ;;
  esac
}

if [ $# -gt 0 ]; then targets=("$@"); else
  targets=()
  for target in "$here"/*_fuzz.cpp; do targets+=("$(basename "$target" .cpp)"); done
fi

for name in "${targets[@]}"; do
  [ -x "$out/$name" ] || { echo "no fuzz target $name" >&2; exit 2; }
  seeds="$here/corpus/$(corpus_of "$name")"
  found="$out/corpus/$name"
  mkdir -p "$found" "$out/artifacts"
  echo "== $name for ${seconds}s"
  args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
    -artifact_prefix="$out/artifacts/$name-" "$found")
  if [ -d "$seeds" ]; then args+=("$seeds"); else echo "no seed corpus $seeds" >&2; fi
  log="$out/$name.log"
  if ! "$out/$name" "${args[@]}" >"$log" 2>&1; then
    tail -n 60 "$log" >&2
    echo "$name failed; its input is in $out/artifacts/" >&2
    exit 1
  fi
  grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" || tail -n 5 "$log"
  echo "corpus: $(find "$found" -type f | wc -l) inputs found, $( [ -d "$seeds" ] && find "$seeds" -type f | wc -l || echo 0) seeds"
done
