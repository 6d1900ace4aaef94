#!/usr/bin/env bash
# Wall time of two grouper programs on the same large file, run in turns.
#
#   bench/compare.sh OLD_BINARY NEW_BINARY [FILE]
#
# Runs `OLD_BINARY FILE OUT` and `NEW_BINARY FILE OUT` in PAIRS pairs (default
# 11), the console sent to /dev/null, the order within a pair alternating so
# that neither program always runs second on a warm cache. Prints each pair,
# the median time of each program and the median of the per-pair ratios
# new/old, and whether that ratio is at most LIMIT (default 1.05). A shared
# machine is noisy: the median of the ratios of pairs run side by side is the
# figure to quote, and a doubtful one is worth a second run.
#
# FILE is taken as it is when it exists; otherwise it is generated there (or,
# without FILE, in a temporary directory) with RECORDS records (default
# 1,000,000; about 375 MB) from seed SEED (default 1) with a 10% fault share,
# as throughput.sh does, by SAMPLE (default tools/grouper-sample beside
# NEW_BINARY). The two programs' result files must be the same bytes, or the
# comparison fails.
#
# Exit status: 0 when the ratio is within the limit, 1 when it is not or the
# results differ, 2 for bad arguments.
set -euo pipefail

if [[ $# -lt 2 || $# -gt 3 ]]; then
  echo "usage: bench/compare.sh OLD_BINARY NEW_BINARY [FILE]" >&2
  exit 2
fi
old=$(realpath "$1")
new=$(realpath "$2")
pairs=${PAIRS:-11}
limit=${LIMIT:-1.05}
records=${RECORDS:-1000000}
seed=${SEED:-1}
sample=${SAMPLE:-$(dirname "$new")/tools/grouper-sample}

for program in "$old" "$new"; do
  if [[ ! -x $program ]]; then
    echo "compare.sh: $program is not a program" >&2
    exit 2
  fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/grouper-compare.XXXXXX")
trap 'rm -rf "$work"' EXIT
input=${3:-$work/records.in}
if [[ ! -e $input ]]; then
  if [[ ! -x $sample ]]; then
    echo "compare.sh: no $input and no generator $sample (set SAMPLE)" >&2
    exit 2
  fi
  echo "generating $records records (seed $seed, 10% faults) into $input ..."
  "$sample" --count "$records" --seed "$seed" --faults 0.1 > "$input"
fi
cat "$input" > /dev/null  # into the page cache before the first run

median() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
# Runs one program on the input; prints its wall time in nanoseconds.
run() {
  local start end
  start=$(date +%s%N)
  "$1" "$input" "$2" > /dev/null
  end=$(date +%s%N)
  echo $((end - start))
}

old_ns=() new_ns=() ratios=()
for ((pair = 1; pair <= pairs; pair++)); do
  rm -f "$work/old.out" "$work/new.out"
  if ((pair % 2 == 1)); then
    o=$(run "$old" "$work/old.out")
    n=$(run "$new" "$work/new.out")
  else
    n=$(run "$new" "$work/new.out")
    o=$(run "$old" "$work/old.out")
  fi
  if ! cmp -s "$work/old.out" "$work/new.out"; then
    echo "compare.sh: the result files differ (pair $pair)" >&2
    exit 1
  fi
  old_ns+=("$o")
  new_ns+=("$n")
  ratios+=("$(awk -v n="$n" -v o="$o" 'BEGIN {printf "%.4f", n / o}')")
  printf '  pair %2d: old %.3f s, new %.3f s, new/old %s\n' "$pair" \
    "$(awk -v t="$o" 'BEGIN {print t / 1e9}')" "$(awk -v t="$n" 'BEGIN {print t / 1e9}')" \
    "${ratios[-1]}"
done

ratio=$(median "${ratios[@]}")
echo
printf 'input: %s (%d lines)\n' "$input" "$(wc -l < "$input")"
printf 'old %s: median %.3f s\n' "$old" "$(awk -v t="$(median "${old_ns[@]}")" 'BEGIN {print t / 1e9}')"
printf 'new %s: median %.3f s\n' "$new" "$(awk -v t="$(median "${new_ns[@]}")" 'BEGIN {print t / 1e9}')"
if awk -v r="$ratio" -v l="$limit" 'BEGIN {exit !(r <= l)}'; then
  printf 'median ratio new/old of %d pairs: %s (at most %s: met)\n' "$pairs" "$ratio" "$limit"
else
  printf 'median ratio new/old of %d pairs: %s (at most %s: NOT met)\n' "$pairs" "$ratio" "$limit"
  exit 1
fi
