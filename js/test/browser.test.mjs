// The npm package in headless Chromium, under a policy that forbids every
// connection and in New York's zone: a page imports the package from a local
// server, runs groupFile on records dated at the edges (given to it inside a
// module, since it may fetch nothing) and shows the SHA-256 of the result
// file and of the console, which must be those of the native batch run in
// Korea. Skipped where there is no chromium.
import assert from 'node:assert/strict';
import { execFile, spawnSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { readFileSync, readdirSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { test } from 'node:test';

const env = process.env;
const chromium = ['chromium', 'chromium-browser', 'google-chrome'].find(
  (name) => spawnSync(name, ['--version']).status === 0);

function sha256(bytes) {
  return createHash('sha256').update(bytes).digest('hex');
}

const page = `<!doctype html>
<html><head><meta charset="utf-8">
<meta http-equiv="Content-Security-Policy"
  content="default-src 'none'; script-src 'self' 'wasm-unsafe-eval'; connect-src 'none'">
<script type="module" src="main.mjs"></script></head><body><pre id="out">loading</pre></body></html>`;

const main = `import { groupFile } from './package/grouper.mjs';
import input from './input.mjs';
const hex = async (bytes) => [...new Uint8Array(await crypto.subtle.digest('SHA-256', bytes))]
  .map((b) => b.toString(16).padStart(2, '0')).join('');
const out = document.getElementById('out');
try {
  const bytes = Uint8Array.from(atob(input), (c) => c.charCodeAt(0));
  const { result, console: printed } = groupFile(bytes);
  out.textContent = 'result ' + await hex(result) + ' console ' + await hex(printed) +
    ' zone ' + Intl.DateTimeFormat().resolvedOptions().timeZone;
} catch (error) {
  out.textContent = 'error ' + error;
}`;

test('groupFile in Chromium, with no connection allowed, in New York', {
  skip: chromium ? false : 'no chromium installed',
}, async () => {
  const lines = spawnSync(env.GROUPER_SAMPLE, ['--count', '16', '--seed', '3', '--versions',
    '089,010,090,011,091,012,092,013']).stdout.toString('latin1').split('\r\n')
    .filter((line) => line !== '');
  const dated = [];
  for (const date of ['19700101', '19700102', '20380119', '20380120', '21060207']) {
    for (const line of lines) {
      const copy = Buffer.from(`${line}\r\n`, 'latin1');
      for (const at of [36, 44, 53]) copy.write(date, at, 'latin1');
      dated.push(copy);
    }
  }
  const input = Buffer.concat(dated);
  const work = join(tmpdir(), `grouper-browser-${process.pid}`);
  writeFileSync(`${work}.in`, input);
  const native = spawnSync(env.GROUPER, [`${work}.in`, `${work}.out`],
    { env: { ...env, TZ: 'Asia/Seoul' } });
  assert.equal(native.status, 0);
  const expected = `result ${sha256(readFileSync(`${work}.out`))} console ${sha256(native.stdout)}`;

  const files = {
    '/index.html': ['text/html', page],
    '/main.mjs': ['text/javascript', main],
    '/input.mjs': ['text/javascript', `export default '${input.toString('base64')}';`],
  };
  for (const name of readdirSync(env.GROUPER_PACKAGE)) {
    const path = join(env.GROUPER_PACKAGE, name);
    if (statSync(path).isFile()) {
      files[`/package/${name}`] = [name.endsWith('.mjs') ? 'text/javascript' : 'text/plain',
        readFileSync(path)];
    }
  }
  const requested = [];
  const server = createServer((request, response) => {
    requested.push(request.url);
    const file = files[request.url];
    response.writeHead(file ? 200 : 404, { 'content-type': file ? file[0] : 'text/plain' });
    response.end(file ? file[1] : '');
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  try {
    const url = `http://127.0.0.1:${server.address().port}/index.html`;
    // The browser runs while this process's server answers it: not spawnSync.
    const run = await new Promise((resolve) => {
      execFile(chromium, ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run',
        `--user-data-dir=${work}-profile`, '--virtual-time-budget=20000', '--dump-dom', url],
      { env: { ...env, TZ: 'America/New_York' }, timeout: 120000, maxBuffer: 1 << 24 },
      (error, stdout) => resolve({ error, stdout }));
    });
    const shown = run.stdout.match(/<pre id="out">([^<]*)<\/pre>/)?.[1] ?? `nothing: ${run.error}`;
    assert.equal(shown.replace(/ zone .*/, ''), expected);
    assert.match(shown, / zone America\/New_York$/);
    // The page asked the server for itself and its modules only.
    assert.ok(requested.every((path) => path in files || path === '/favicon.ico'), requested);
  } finally {
    server.close();
    for (const path of [`${work}-profile`, `${work}.in`, `${work}.out`]) {
      rmSync(path, { recursive: true, force: true });
    }
  }
});
