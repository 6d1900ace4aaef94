// Bundles app.mjs for browsers with the pinned esbuild, as a web application's
// build would, then checks that the bundle answers a file with the bytes of the
// package as Node imports it:
//   node check.mjs RECORDS_FILE
// (run here after `npm ci` and the package's .tgz installed).
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { pathToFileURL } from 'node:url';
import { build } from 'esbuild';

const out = new URL('./out/app.mjs', import.meta.url);
await build({
  entryPoints: [new URL('./app.mjs', import.meta.url).pathname],
  bundle: true,
  format: 'esm',
  platform: 'browser',
  target: ['chrome95', 'firefox100', 'safari15'],
  outfile: out.pathname,
  logLevel: 'warning',
});
const bundled = readFileSync(out, 'utf8');
assert.doesNotMatch(bundled, /\bimport\s*(\(|['"{*])/, 'the bundle still imports a module');
const { answer } = await import(pathToFileURL(out.pathname).href);
const { groupFile, version } = await import('grouper');
const bytes = readFileSync(process.argv[2]);
const ours = answer(bytes);
const direct = groupFile(bytes);
assert.equal(ours.version, version);
assert.ok(ours.result.length > bytes.length);
assert.ok(Buffer.from(ours.result).equals(Buffer.from(direct.result)), 'result file differs');
assert.ok(Buffer.from(ours.console).equals(Buffer.from(direct.console)), 'console differs');
console.log(`bundled for browsers: ${bundled.length} bytes, the same answers`);
