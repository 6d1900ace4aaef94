#!/usr/bin/env bash
# The WebAssembly package in Node against the native batch, on the same file:
#   bench/wasm.sh [NATIVE_BUILD_DIR [PACKAGE_DIR]]
# (defaults build/default and build/wasm/js/package). Generates RECORDS
# (default 1,000,000) records with 10% faults in WORKDIR (default a temporary
# folder), then in turns, RUNS times (default 5): the batch `grouper IN OUT`,
# the batch pinned to one processor (its one-worker road, as the WebAssembly
# build always runs), a Node process that runs groupStream from IN to its
# result file with the console on standard output (as the batch runs), and
# one that reads IN whole, runs groupFile on it (timing the call too) and
# writes its result file. Each run's result file must be the batch's bytes.
# Prints the median wall times, records per second and the ratios to the
# batch, and the sizes of the .wasm, the package's files and its .tgz. Then
# grouper.html (beside the package) in headless Chromium, opened from the
# disk: the time from picking a file of PAGE_RECORDS (default 100,000)
# records to the page's answer, RUNS times, and the page's size.
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

cat >"$work/stream.mjs" <<'JS'
import { closeSync, openSync, readSync, writeFileSync, writeSync } from 'node:fs';
import { pathToFileURL } from 'node:url';
const [pkg, input, output, peak] = process.argv.slice(2);
const { groupStream } = await import(pathToFileURL(`${pkg}/grouper.mjs`).href);
const from = openSync(input, 'r');
const to = openSync(output, 'w');
groupStream({
  read: (view) => readSync(from, view),
  result: (view) => writeSync(to, view),
  console: (view) => writeSync(1, view),
});
closeSync(to);
writeFileSync(peak, `${Math.round(process.resourceUsage().maxRSS / 1024)}\n`);
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

: >"$work/batch.ms" ; : >"$work/pinned.ms" ; : >"$work/stream.ms" ; : >"$work/node.ms"
: >"$work/call.ms"
for ((i = 0; i < runs; ++i)); do
  elapsed "$native/grouper" "$input" "$work/batch.out" >>"$work/batch.ms"
  elapsed taskset -c 0 "$native/grouper" "$input" "$work/batch.out" >>"$work/pinned.ms"
  elapsed node "$work/stream.mjs" "$package" "$input" "$work/stream.out" "$work/stream.mb" \
    >>"$work/stream.ms"
  cmp -s "$work/stream.out" "$work/native.out" || { echo "groupStream's result differs" >&2; exit 1; }
  elapsed node "$work/run.mjs" "$package" "$input" "$work/node.out" "$work/call.ms" \
    >>"$work/node.ms"
  cmp -s "$work/node.out" "$work/native.out" || { echo "groupFile's result differs" >&2; exit 1; }
done

lines=$(wc -l <"$input")
batch=$(median <"$work/batch.ms")
pinned=$(median <"$work/pinned.ms")
stream_ms=$(median <"$work/stream.ms")
node_ms=$(median <"$work/node.ms")
call_ms=$(median <"$work/call.ms")
rate() { echo $((lines * 1000 / $1)); }
echo "records: $lines ($(du -h "$input" | cut -f1)), medians of $runs runs"
echo "batch (two workers):  ${batch} ms, $(rate "$batch") records/s"
echo "batch (one processor): ${pinned} ms, $(rate "$pinned") records/s"
echo "Node, groupStream:     ${stream_ms} ms, $(rate "$stream_ms") records/s," \
  "at most $(cat "$work/stream.mb") MB of memory (the last run)"
echo "Node, groupFile:       ${node_ms} ms, $(rate "$node_ms") records/s (whole process)"
echo "  of which the call:    ${call_ms} ms, $(rate "$call_ms") records/s"
awk -v s="$stream_ms" -v n="$node_ms" -v b="$batch" -v p="$pinned" 'BEGIN {
  printf "groupStream / batch: %.2f (on one processor: %.2f)\n", s / b, s / p
  printf "groupFile / batch: %.2f (on one processor: %.2f)\n", n / b, n / p }'
wasm=$(dirname "$package")/grouper_core.wasm
echo "sizes: grouper_core.wasm $(stat -c %s "$wasm") bytes;" \
  "package files $(cat "$package"/* | wc -c) bytes;" \
  "$(for t in "$(dirname "$package")"/grouper-*.tgz; do [ -f "$t" ] && echo "$(basename "$t") $(stat -c %s "$t") bytes"; done)"

page="$(dirname "$package")/grouper.html"
if [ ! -f "$page" ] || ! command -v chromium >/dev/null; then
  echo "page: skipped (no $page or no chromium)"
  exit 0
fi
page_input="$work/page.in"
[ -f "$page_input" ] ||
  "$native/tools/grouper-sample" --count "${PAGE_RECORDS:-100000}" --seed 7 --faults 0.1 >"$page_input"
cat >"$work/page.mjs" <<'JS'
// Opens the page once, then picks the file RUNS times: milliseconds each.
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
const [cdp, page, input, runs] = process.argv.slice(2);
const { Browser } = await import(pathToFileURL(cdp).href);
const profile = mkdtempSync(join(tmpdir(), 'grouper-page-bench-'));
const browser = new Browser(profile, process.env);
const { targetInfos } = await browser.send('Target.getTargets');
const { targetId } = targetInfos.find((target) => target.type === 'page');
const { sessionId } = await browser.send('Target.attachToTarget', { targetId, flatten: true });
await browser.send('DOM.enable', {}, sessionId);
const evaluate = async (expression) => (await browser.send('Runtime.evaluate',
  { expression, returnByValue: true }, sessionId)).result.value;
const until = async (expression) => {
  while (!(await evaluate(expression))) await new Promise((done) => setTimeout(done, 20));
};
await browser.send('Page.navigate', { url: pathToFileURL(page).href }, sessionId);
await until("document.getElementById('file')?.disabled === false");
for (let i = 0; i < Number(runs); ++i) {
  const { root } = await browser.send('DOM.getDocument', {}, sessionId);
  const { nodeId } = await browser.send('DOM.querySelector',
    { nodeId: root.nodeId, selector: '#file' }, sessionId);
  // The last answer is put away first, so that only this one is waited for.
  await evaluate("document.getElementById('done').hidden = true");
  const start = performance.now();
  await browser.send('DOM.setFileInputFiles', { nodeId, files: [input] }, sessionId);
  await until("!busy && !document.getElementById('done').hidden");
  console.log(Math.round(performance.now() - start));
}
await browser.close();
rmSync(profile, { recursive: true, force: true });
JS
node "$work/page.mjs" "$PWD/js/test/cdp.mjs" "$page" "$page_input" "$runs" >"$work/page.ms"
echo "page: $(wc -l <"$page_input") records ($(du -h "$page_input" | cut -f1)) in headless" \
  "Chromium, $(median <"$work/page.ms") ms (median of $runs); grouper.html $(stat -c %s "$page") bytes"
