// Makes grouper.html: the page and, inside it, one script for its worker made
// of the package's modules (the WebAssembly bytes as base64, emscripten's
// loader, grouper.mjs) and the worker's own code, so that the page needs no
// other file and fetches nothing.
//   node make_page.mjs PACKAGE_DIR PAGE.html WORKER.js OUT.html
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';

const [packageDir, pageFile, workerFile, out] = process.argv.slice(2);
const read = (path) => readFileSync(path, 'utf8');

// Replaces `pattern` in `text` exactly `count` times (at least once when
// `count` is null), or stops: a loader or module of another shape must not be
// bundled half-changed.
function replaced(text, pattern, by, count, what) {
  const found = text.match(new RegExp(pattern.source, 'gm')) ?? [];
  if (count === null ? found.length === 0 : found.length !== count) {
    console.error(`make_page: ${what}: expected ${count} of ${pattern}, found ${found.length}`);
    process.exit(1);
  }
  return text.replace(new RegExp(pattern.source, 'gm'), by);
}

const wasm = replaced(read(join(packageDir, 'grouper_wasm.mjs')), /^export default '/,
  "const wasmBase64 = '", 1, 'grouper_wasm.mjs');
let loader = replaced(read(join(packageDir, 'grouper_core.mjs')),
  /^export default createGrouperCore;$/, '', 1, 'grouper_core.mjs');
// Chromium refuses a module worker from a blob: URL of a page opened from the
// disk (its origin is opaque), so the worker is a classic script: the
// loader's own address is the worker's, and the package's top-level await
// runs in an async function.
loader = replaced(loader, /import\.meta\.url/, 'self.location.href', 1, 'grouper_core.mjs');
let api = read(join(packageDir, 'grouper.mjs'));
api = replaced(api, /^import \w+ from '\.\/grouper_(core|wasm)\.mjs';$/, '', 2, 'grouper.mjs');
// Every export of the package becomes a name of the worker's own; an export
// of another form is left as it is and stops the bundling below.
api = replaced(api, /^export (const|function)/, '$1', null, 'grouper.mjs');
// A module that cannot be made (a browser without WebAssembly's exceptions)
// is told to the page, which otherwise would wait for it.
const worker = ['(async () => {', wasm, loader, api, read(workerFile),
  '})().catch((error) => self.postMessage({ failed: String(error?.message ?? error) }));']
  .join('\n');
if (/^\s*(import|export)\b/m.test(worker)) {
  console.error('make_page: the worker still imports or exports');
  process.exit(1);
}
// The worker's code sits in a script element that is never run as such.
if (/<\/script|<!--/i.test(worker)) {
  console.error('make_page: the worker code holds </script or <!--');
  process.exit(1);
}
const page = read(pageFile);
const marker = '<!-- worker -->';
if (page.split(marker).length !== 2) {
  console.error(`make_page: ${pageFile}: expected one ${marker}`);
  process.exit(1);
}
writeFileSync(out, page.replace(marker,
  () => `<script type="text/plain" id="worker-code">${worker}</script>`));
