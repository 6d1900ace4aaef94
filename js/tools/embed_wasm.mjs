// Writes the WebAssembly module's bytes as an ES module of base64 text, which
// the package decodes itself: no fetch of a file or of a data: URL is needed
// in Node or in a page that forbids connections.
//   node embed_wasm.mjs MODULE.wasm OUT.mjs
import { readFileSync, writeFileSync } from 'node:fs';

const [wasm, out] = process.argv.slice(2);
const base64 = readFileSync(wasm).toString('base64');
writeFileSync(out, `// Generated from the WebAssembly module; do not edit.\nexport default '${base64}';\n`);
