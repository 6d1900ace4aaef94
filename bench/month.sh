#!/usr/bin/env bash
# The month's and the explanation table's time against the batch's.
#
#   bench/month.sh [BUILD_DIR [OTHER_BUILD_DIR]]     (default build/bench)
#
# Builds nothing: each build directory must hold grouper and
# tools/grouper-{sample,explain,month}, for instance from
# `cmake --preset bench && cmake --build --preset bench`. Generates, with the
# first build's grouper-sample, RECORDS records (default 1,000,000) with a 10%
# fault share (seed 1), then RUNS times (default 5) runs in turn, for each
# build: the batch (`grouper IN OUT`, console to /dev/null),
# `grouper-explain --csv IN > TABLE` and `grouper-month --no-open IN`, each
# writing its files in the work directory. Prints, for each build, the median
# wall time of each program and the median of the per-run ratios
# explain/batch and month/batch, where each ratio divides by the batch's time
# of the same build in the same run. With a second build (an older one, say)
# the two are timed in the same runs on the same file, so a busy machine
# weighs on both alike.
#
# Goals: grouper-month at most MONTH_LIMIT (3) times the batch,
# grouper-explain --csv at most EXPLAIN_LIMIT (2.5) times; the exit status is
# 1 when the first build misses one.
#
# Environment: RECORDS, RUNS, WORKDIR (default a fresh directory under
# ${TMPDIR:-/tmp}, removed at the end; a million records take about 0.4 GB
# and each run's products about 1.5 GB more, removed after each program).
set -euo pipefail

builds=("$(readlink -f "${1:-build/bench}")")
[[ $# -ge 2 ]] && builds+=("$(readlink -f "$2")")
records=${RECORDS:-1000000}
runs=${RUNS:-5}
month_limit=${MONTH_LIMIT:-3}
explain_limit=${EXPLAIN_LIMIT:-2.5}

for build in "${builds[@]}"; do
  for program in grouper tools/grouper-sample tools/grouper-explain tools/grouper-month; do
    if [[ ! -x $build/$program ]]; then
      echo "month.sh: $build/$program not found; build first:" >&2
      echo "  cmake --preset bench && cmake --build --preset bench" >&2
      exit 2
    fi
  done
done

if [[ -n ${WORKDIR:-} ]]; then
  work=$WORKDIR
  mkdir -p "$work"
  trap 'rm -rf "$work/records.in" "$work/records_grouper" "$work/out" "$work/table.csv"' EXIT
else
  work=$(mktemp -d "${TMPDIR:-/tmp}/grouper-month-bench.XXXXXX")
  trap 'rm -rf "$work"' EXIT
fi

median() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
now_ns() { date +%s%N; }
# Seconds that the command takes, its output gone.
timed() {
  local start end
  start=$(now_ns)
  "$@" > /dev/null 2>&1 || { echo "month.sh: failed: $*" >&2; exit 1; }
  end=$(now_ns)
  echo $(((end - start) / 1000000))
}
clean() { rm -rf "$work/out" "$work/table.csv" "$work/records_grouper"; }

echo "generating $records records (10% faults) ..."
"${builds[0]}/tools/grouper-sample" --count "$records" --seed 1 --faults 0.1 > "$work/records.in"
cat "$work/records.in" > /dev/null

declare -A batch explain month explain_ratio month_ratio
for ((run = 1; run <= runs; ++run)); do
  for b in "${!builds[@]}"; do
    build=${builds[$b]}
    t_batch=$(timed "$build/grouper" "$work/records.in" "$work/out")
    clean
    # shellcheck disable=SC2016  # the inner shell expands them
    t_explain=$(timed sh -c '"$1" --csv "$2" > "$3"' sh "$build/tools/grouper-explain" \
      "$work/records.in" "$work/table.csv")
    clean
    t_month=$(cd "$work" && timed "$build/tools/grouper-month" --no-open records.in)
    clean
    batch[$b]+=" $t_batch"
    explain[$b]+=" $t_explain"
    month[$b]+=" $t_month"
    explain_ratio[$b]+=" $(awk -v a="$t_explain" -v b="$t_batch" 'BEGIN {printf "%.2f", a / b}')"
    month_ratio[$b]+=" $(awk -v a="$t_month" -v b="$t_batch" 'BEGIN {printf "%.2f", a / b}')"
    echo "run $run, $build: batch $t_batch ms, explain --csv $t_explain ms, month $t_month ms"
  done
done

status=0
for b in "${!builds[@]}"; do
  # shellcheck disable=SC2086  # the lists are words
  {
    er=$(median ${explain_ratio[$b]})
    mr=$(median ${month_ratio[$b]})
    echo "${builds[$b]}: median of $runs runs: batch $(median ${batch[$b]}) ms," \
      "grouper-explain --csv $(median ${explain[$b]}) ms ($er x the batch)," \
      "grouper-month $(median ${month[$b]}) ms ($mr x the batch)"
  }
  if [[ $b == 0 ]]; then
    if awk -v r="$er" -v l="$explain_limit" 'BEGIN {exit !(r > l)}'; then
      echo "grouper-explain --csv: $er x the batch, more than $explain_limit"
      status=1
    fi
    if awk -v r="$mr" -v l="$month_limit" 'BEGIN {exit !(r > l)}'; then
      echo "grouper-month: $mr x the batch, more than $month_limit"
      status=1
    fi
  fi
done
exit $status
