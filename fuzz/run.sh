#!/usr/bin/env bash
# Builds the fuzz targets (preset "fuzz") and runs each for its share of the
# given time (default 60 seconds in all) on a copy of its seed corpus, then prints
# its executions and coverage (edges reached). Inputs that break an invariant
# or crash are kept in build/fuzz/artifacts/; the script then fails. FUZZ_OUT
# names another directory for the logs, grown corpora and artifacts.
#
#   fuzz/run.sh            a one-minute smoke run
#   fuzz/run.sh 1800       a long run: 7.5 minutes per target
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(line_fuzzer batch_fuzzer explain_fuzzer api_fuzzer)
total="${1:-60}"
each=$(((total + ${#targets[@]} - 1) / ${#targets[@]}))
jobs="${FUZZ_JOBS:-$(nproc)}"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]}" -j "$jobs"

bin=build/fuzz/fuzz
out="${FUZZ_OUT:-build/fuzz}"
artifacts="$out/artifacts"
mkdir -p "$artifacts"
status=0
for target in "${targets[@]}"; do
  case "$target" in
    line_fuzzer) max_len=1024 ;;  # one read and a little more
    batch_fuzzer) max_len=16384 ;;
    explain_fuzzer) max_len=1100 ;;  # past one read, and the two bytes of the buffer size
    api_fuzzer) max_len=2048 ;;  # lines longer than one read, and two size bytes
  esac
  work="$out/corpus-$target"
  rm -rf "$work"
  mkdir -p "$work"
  # Single lines are good seeds for whole files, the explanation and the C
  # interface too (see explain_fuzzer.cpp and api_fuzzer.cpp).
  seeds=()
  [ -d fuzz/corpus/"$target" ] && seeds+=(fuzz/corpus/"$target")
  [ "$target" != line_fuzzer ] && seeds+=(fuzz/corpus/line_fuzzer)
  for s in "${seeds[@]}"; do cp "$s"/* "$work"/; done
  log="$out/$target.log"
  echo "== $target: ${each}s, seeds: $(ls "$work" | wc -l)"
  if ! "$bin/$target" -max_total_time="$each" -max_len="$max_len" -print_final_stats=1 \
      -artifact_prefix="$artifacts/$target-" "$work" >"$log" 2>&1; then
    status=1
    echo "!! $target found a failing input (see $log and $artifacts/)"
    grep -E 'broken invariant|ERROR|SUMMARY|Test unit written' "$log" || true
  fi
  grep -E '^#[0-9]+.*(DONE|cov:)' "$log" | tail -1
  grep -E '^stat::number_of_executed_units|^stat::average_exec_per_sec|^stat::peak_rss_mb' "$log" || true
  echo "   corpus grown to $(ls "$work" | wc -l) inputs"
done
exit "$status"
