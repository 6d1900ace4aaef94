#!/usr/bin/env bash
# Checks the batch's result files, console bytes and exit status on generated
# files of every form version, with faults, against the digests in
# tests/batch_digests.txt, which were taken from a build of the batch from
# before its hot path was reworked for speed (commit 239ae14) and before any
# later change of the batch. Any change of a byte fails this check.
#
# Each line also holds the digest of its input, so that the batch is always
# compared on the inputs the digests were taken from: grouper-sample makes the
# inputs, and when its bytes change every input whose digest differs fails
# here with its name. Then both digests are re-recorded from a batch built
# from before the change of the batch, on the new inputs (never from the new
# batch alone):
#
#   GROUPER=OLD_BUILD/grouper .ci/digest.sh --write
#
#   .ci/digest.sh                   checks build/default/grouper
#   GROUPER=PATH .ci/digest.sh      checks another build
#   GROUPER=PATH.exe GROUPER_RUN=wine GROUPER_TZ=KST-9 .ci/digest.sh
#                                   checks a Windows build under Wine (whose C
#                                   runtime reads the zone in the POSIX form)
#   .ci/digest.sh --write           rewrites the digests from that grouper
#
# The inputs are those of the compiler comparisons (compare.sh), made by
# build/default's grouper-sample: 100,000 records of each form version and of
# the base layout with a tenth of them faulty, 20,000 mixed records with half
# of them faulty, and the sample. A line reads: name, records, input digest,
# result digest, console digest, exit status.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
source .ci/compare.sh
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

digests=tests/batch_digests.txt
ensure_reference_build
grouper=$(realpath "${GROUPER:-$reference_build/grouper}")

data=$(mktemp -d "$repo/build/digest.XXXXXX")
trap 'rm -rf "$data"' EXIT
make_inputs "$data" 100000

digest() { sha256sum "$1" | cut -d' ' -f1; }
for input in "$data"/*.in; do
  name=$(basename "$input" .in)
  status=0
  (cd "$data" && TZ="${GROUPER_TZ:-Asia/Seoul}" ${GROUPER_RUN:-} "$grouper" "$name.in" "$name.out" \
    >"$name.console") || status=$?
  echo "$name $(wc -l <"$input") $(digest "$input") $(digest "$data/$name.out")" \
    "$(digest "$data/$name.console") $status"
  rm -f "$data/$name".*
done >"$data/digests.txt"

if [ "${1:-}" = --write ]; then
  cp "$data/digests.txt" "$digests"
  echo "digest: wrote $digests"
  exit 0
fi

# The inputs first: outputs of other inputs say nothing about the batch.
inputs_differ=0
while read -r name records input _; do
  if ! grep -q "^$name $records $input " "$data/digests.txt"; then
    echo "digest: input $name.in is not the one the digests were taken from (grouper-sample's" \
      "bytes or the sample changed); re-record from a batch from before the change:" \
      "GROUPER=OLD_BUILD/grouper .ci/digest.sh --write"
    inputs_differ=1
  fi
done <"$digests"
[ "$inputs_differ" = 0 ] || exit 1

if diff -u "$digests" "$data/digests.txt"; then
  echo "digest: $(wc -l <"$digests") files identical to the recorded bytes"
else
  echo "digest: result or console bytes differ from the recorded ones (lines: name, records," \
    "input digest, result digest, console digest, exit status)"
  exit 1
fi
