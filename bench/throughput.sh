#!/usr/bin/env bash
# Whole-program throughput and memory of grouper on generated files.
#
#   bench/throughput.sh [BUILD_DIR]        (default build/bench)
#
# Builds nothing: BUILD_DIR must hold grouper and tools/grouper-sample, for
# instance from `cmake --preset bench && cmake --build --preset bench`.
# Generates a file of RECORDS records (default 1,000,000) with a 10% fault
# share and runs grouper on it RUNS times (default 5) with the console sent
# to /dev/null; in the same loop it times a plain copy of the file
# (`cat IN > OUT`). Prints the median records per second, the median ratio of
# grouper's time to the copy's, and the peak resident memory of grouper
# (GNU time, /usr/bin/time -v; Debian package `time`) for that file and for
# a file of 10,000 records.
#
# Environment: RECORDS, RUNS, WORKDIR (default a fresh directory under
# ${TMPDIR:-/tmp}; the files take about 1.3 GB for a million records).
set -euo pipefail

build=${1:-build/bench}
records=${RECORDS:-1000000}
runs=${RUNS:-5}
grouper=$build/grouper
sample=$build/tools/grouper-sample
rss_target_kib=$((8 * 1024))
rate_target=2000000
ratio_target=1.6

for program in "$grouper" "$sample"; do
  if [[ ! -x $program ]]; then
    echo "throughput.sh: $program not found; build first:" >&2
    echo "  cmake --preset bench && cmake --build --preset bench" >&2
    exit 2
  fi
done
if [[ ! -x /usr/bin/time ]]; then
  echo "throughput.sh: needs GNU time as /usr/bin/time (apt-get install time)" >&2
  exit 2
fi

if [[ -n ${WORKDIR:-} ]]; then
  work=$WORKDIR
  mkdir -p "$work"
else
  work=$(mktemp -d "${TMPDIR:-/tmp}/grouper-throughput.XXXXXX")
  trap 'rm -rf "$work"' EXIT
fi

median() { printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
now_ns() { date +%s%N; }
# Peak resident set size in KiB of one grouper run, from GNU time's report.
peak_rss() { awk -F': ' '/Maximum resident set size/ {print $2}' "$1"; }

echo "generating $records records (10% faults) and 10000 records ..."
"$sample" --count "$records" --seed 1 --faults 0.1 > "$work/big.in"
"$sample" --count 10000 --seed 2 --faults 0.1 > "$work/small.in"
bytes=$(stat -c %s "$work/big.in")

# Warm the page cache so that the first runs do not pay for the disk.
cat "$work/big.in" > /dev/null

program_ns=() copy_ns=() ratios=() big_rss=()
for ((run = 1; run <= runs; run++)); do
  rm -f "$work/copy.out" "$work/big.out"
  start=$(now_ns)
  cat "$work/big.in" > "$work/copy.out"
  copy=$(($(now_ns) - start))

  start=$(now_ns)
  /usr/bin/time -v -o "$work/time.txt" "$grouper" "$work/big.in" "$work/big.out" > /dev/null
  elapsed=$(($(now_ns) - start))

  program_ns+=("$elapsed")
  copy_ns+=("$copy")
  ratios+=("$(awk -v a="$elapsed" -v b="$copy" 'BEGIN {printf "%.2f", a / b}')")
  big_rss+=("$(peak_rss "$work/time.txt")")
  printf '  run %d: grouper %.3f s, copy %.3f s, peak RSS %s KiB\n' "$run" \
    "$(awk -v n="$elapsed" 'BEGIN {print n / 1e9}')" "$(awk -v n="$copy" 'BEGIN {print n / 1e9}')" \
    "${big_rss[-1]}"
done

lines_in=$(wc -l < "$work/big.in")
lines_out=$(wc -l < "$work/big.out")
if [[ $lines_in != "$lines_out" ]]; then
  echo "throughput.sh: $lines_in input lines but $lines_out output lines" >&2
  exit 1
fi

/usr/bin/time -v -o "$work/time.txt" "$grouper" "$work/small.in" "$work/small.out" > /dev/null
small_rss=$(peak_rss "$work/time.txt")

median_ns=$(median "${program_ns[@]}")
rate=$(awk -v r="$records" -v n="$median_ns" 'BEGIN {printf "%d", r / (n / 1e9)}')
ratio=$(median "${ratios[@]}")
rss=$(median "${big_rss[@]}")
verdict() { if [[ $1 == 1 ]]; then echo "met"; else echo "NOT met"; fi; }

echo
printf 'input: %d records, %d bytes\n' "$records" "$bytes"
printf 'records per second (median of %d): %d   (target %d: %s)\n' "$runs" "$rate" "$rate_target" \
  "$(verdict $((rate >= rate_target)))"
printf 'time relative to cat IN > OUT (median of %d): %s   (target at most %s: %s)\n' "$runs" \
  "$ratio" "$ratio_target" "$(verdict "$(awk -v r="$ratio" -v t="$ratio_target" 'BEGIN {print (r <= t)}')")"
printf 'peak RSS, %d records: %d KiB (%.1f MiB)   (target < 8 MiB: %s)\n' "$records" "$rss" \
  "$(awk -v k="$rss" 'BEGIN {print k / 1024}')" "$(verdict $((rss < rss_target_kib)))"
printf 'peak RSS, 10000 records: %d KiB (%.1f MiB)   (target < 8 MiB: %s)\n' "$small_rss" \
  "$(awk -v k="$small_rss" 'BEGIN {print k / 1024}')" "$(verdict $((small_rss < rss_target_kib)))"
