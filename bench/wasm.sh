#!/usr/bin/env bash
# The WebAssembly package in Node against the native batch, on the same file:
#   bench/wasm.sh [NATIVE_BUILD_DIR [PACKAGE_DIR]]
# (defaults build/default and build/wasm/js/package). Generates RECORDS
# (default 1,000,000) records with 10% faults in WORKDIR (default a temporary
# folder), then in turns, RUNS times (default 5): the batch `grouper IN OUT`,
# the batch pinned to one processor (its one-worker road, as the WebAssembly
# build always runs), and a Node process that reads IN, runs groupFile on it
# (timing the call too) and writes its result file. Each run's result file
# must be the batch's bytes. Prints the median wall times, records per second
# and the ratios to the batch, and the sizes of the .wasm, the package's files
# and its .tgz.
set -euo pipefail
cd "$(dirname "$0")/.."

native=${1:-build/default}
package=${2:-build/wasm/js/package}
records=${RECORDS:-1000000}
runs=${RUNS:-5}
work=${WORKDIR:-$(mktemp -d)}
[ -n "${WORKDIR:-}" ] || trap 'rm -rf "$work"' EXIT
mkdir -p "$work"
export TZ=Asia/Seoul

input="$work/records.in"
[ -f "$input" ] || "$native/tools/grouper-sample" --count "$records" --seed 7 --faults 0.1 >"$input"
"$native/grouper" "$input" "$work/native.out" >/dev/null

cat >"$work/run.mjs" <<'JS'
import { readFileSync, writeFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';
import { appendFileSync } from 'node:fs';
const [pkg, input, output, times] = process.argv.slice(2);
const { groupFile } = await import(pathToFileURL(`${pkg}/grouper.mjs`).href);
const bytes = readFileSync(input);
const start = performance.now();
const { result } = groupFile(bytes);
appendFileSync(times, `${Math.round(performance.now() - start)}\n`);
writeFileSync(output, result);
JS

# Milliseconds of wall time of one command.
elapsed() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }

: >"$work/batch.ms" ; : >"$work/pinned.ms" ; : >"$work/node.ms" ; : >"$work/call.ms"
for ((i = 0; i < runs; ++i)); do
  elapsed "$native/grouper" "$input" "$work/batch.out" >>"$work/batch.ms"
  elapsed taskset -c 0 "$native/grouper" "$input" "$work/batch.out" >>"$work/pinned.ms"
  elapsed node "$work/run.mjs" "$package" "$input" "$work/node.out" "$work/call.ms" \
    >>"$work/node.ms"
  cmp -s "$work/node.out" "$work/native.out" || { echo "groupFile's result differs" >&2; exit 1; }
done

lines=$(wc -l <"$input")
batch=$(median <"$work/batch.ms")
pinned=$(median <"$work/pinned.ms")
node_ms=$(median <"$work/node.ms")
call_ms=$(median <"$work/call.ms")
rate() { echo $((lines * 1000 / $1)); }
echo "records: $lines ($(du -h "$input" | cut -f1)), medians of $runs runs"
echo "batch (two workers):  ${batch} ms, $(rate "$batch") records/s"
echo "batch (one processor): ${pinned} ms, $(rate "$pinned") records/s"
echo "Node, whole process:   ${node_ms} ms, $(rate "$node_ms") records/s"
echo "  of which groupFile:   ${call_ms} ms, $(rate "$call_ms") records/s"
awk -v n="$node_ms" -v b="$batch" -v p="$pinned" \
  'BEGIN {printf "Node / batch: %.2f; Node / batch on one processor: %.2f\n", n / b, n / p}'
wasm=$(dirname "$package")/grouper_core.wasm
echo "sizes: grouper_core.wasm $(stat -c %s "$wasm") bytes;" \
  "package files $(cat "$package"/* | wc -c) bytes;" \
  "$(for t in "$(dirname "$package")"/grouper-*.tgz; do [ -f "$t" ] && echo "$(basename "$t") $(stat -c %s "$t") bytes"; done)"
