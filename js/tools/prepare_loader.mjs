// Copies emscripten's loader into the package without its reference to a
// .wasm file beside it: the package hands the bytes over itself (wasmBinary),
// and a bundler that meets `new URL("x.wasm", import.meta.url)` would look
// for a file that the package does not ship and stop.
//   node prepare_loader.mjs LOADER.mjs OUT.mjs
import { readFileSync, writeFileSync } from 'node:fs';
import { basename } from 'node:path';

const [loader, out] = process.argv.slice(2);
const wasm = basename(loader).replace(/\.mjs$/, '.wasm');
const reference = `new URL("${wasm}",import.meta.url).toString()`;
const text = readFileSync(loader, 'utf8');
if (text.split(reference).length !== 2) {
  console.error(`${loader}: expected one ${reference}`);
  process.exit(1);
}
writeFileSync(out, text.replace(reference, JSON.stringify(wasm)));
