// grouper.html in headless Chromium, opened from the disk (file://) in a zone
// that is not Korea's: a month's file set on the page's file input gives, as
// the page's downloads, the native batch's result file and grouper-month's
// table and report (its time masked), named as grouper-month names them; a
// file whose name and content are markup runs no script; the page asks the
// network for nothing but itself. Skipped where there is no page or chromium.
//   GROUPER_PAGE_PICTURES=DIR also draws the guide's picture of the page in DIR.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync }
  from 'node:fs';
import { tmpdir } from 'node:os';
import { basename, join, resolve } from 'node:path';
import { after, before, test } from 'node:test';
import { pathToFileURL } from 'node:url';
import { Browser, chromium } from './cdp.mjs';

const env = process.env;
const pagePath = resolve(env.GROUPER_PAGE ?? join(env.GROUPER_PACKAGE ?? '.', '..', 'grouper.html'));
const skip = !existsSync(pagePath) ? `no page at ${pagePath} (cmake --build --preset wasm)`
  : !chromium ? 'no chromium installed' : false;
// The browser runs in this process's zone, or New York's when that is Korea's.
const zone = env.TZ && env.TZ !== 'Asia/Seoul' ? env.TZ : 'America/New_York';
const seoul = { ...env, TZ: 'Asia/Seoul' };
const pageUrl = pathToFileURL(pagePath).href;

let work;
let browser;
let session;
const requests = [];
const dialogs = [];
const scripts = [];
const targets = new Map();
const downloads = new Map();

function run(program, args) {
  const done = spawnSync(program, args, { env: seoul, maxBuffer: 1 << 30 });
  assert.equal(done.status, 0, `${program} ${args.join(' ')}: ${done.stderr}`);
  return done.stdout;
}

// Every target's requests, the page's and its worker's, each held at its
// start until its network events are on.
async function watch(sessionId) {
  await browser.send('Network.enable', {}, sessionId);
  if (targets.get(sessionId) === 'iframe') await browser.send('Debugger.enable', {}, sessionId);
  await browser.send('Target.setAutoAttach',
    { autoAttach: true, waitForDebuggerOnStart: true, flatten: true }, sessionId);
  await browser.send('Runtime.runIfWaitingForDebugger', {}, sessionId);
}

async function evaluate(expression) {
  const { result, exceptionDetails } = await browser.send('Runtime.evaluate',
    { expression, awaitPromise: true, returnByValue: true }, session);
  if (exceptionDetails) throw new Error(`${expression}: ${exceptionDetails.text}`);
  return result.value;
}

async function until(expression, ms, what) {
  for (const end = Date.now() + ms; Date.now() < end;) {
    const value = await evaluate(expression);
    if (value) return value;
    await new Promise((done) => setTimeout(done, 100));
  }
  throw new Error(`${what} not within ${ms} ms: ${await evaluate("document.getElementById('status').textContent")}`);
}

async function reportShown(name) {
  for (const [sessionId, type] of targets) {
    if (type !== 'iframe') continue;
    const title = await browser.send('Runtime.evaluate',
      { expression: 'document.readyState === "complete" && document.title', returnByValue: true },
      sessionId).catch(() => null);
    if (typeof title?.result?.value === 'string' && title.result.value.endsWith(name)) return true;
  }
  return false;
}

// Sets the file at `path` on the page's input and waits for the page's answer.
async function pick(path) {
  const { root } = await browser.send('DOM.getDocument', {}, session);
  const { nodeId } = await browser.send('DOM.querySelector',
    { nodeId: root.nodeId, selector: '#file' }, session);
  await browser.send('DOM.setFileInputFiles', { nodeId, files: [path] }, session);
  const status = "document.getElementById('status')";
  const shown = await until(`!busy && (!document.getElementById('done').hidden ||
    ${status}.classList.contains('error')) && ${status}.textContent`, 120000, 'the answer');
  assert.ok(!(await evaluate(`${status}.classList.contains('error')`)), shown);
  // The report's frame (a target of its own) shows the report of this file.
  const name = basename(path);
  for (const end = Date.now() + 30000; !(await reportShown(name));) {
    if (Date.now() > end) throw new Error(`the report of ${name} was not shown`);
    await new Promise((wait) => setTimeout(wait, 50));
  }
}

// Waits until the page shows the report's frame drawn: a picture of the part
// of it in view, blank, compresses to about 2 kB, a report to tens.
async function reportDrawn() {
  const rect = await evaluate(`(() => {
    const { x, y, width, height } = document.getElementById('report').getBoundingClientRect();
    return { x, y, width, height: Math.min(height, innerHeight - y), scale: 1 };
  })()`);
  assert.ok(rect.height > 100, 'the report\'s frame is not in view');
  for (const end = Date.now() + 10000; ;) {
    const { data } = await browser.send('Page.captureScreenshot', { format: 'png', clip: rect },
      session);
    if (Buffer.from(data, 'base64').length > 10000) return;
    if (Date.now() > end) throw new Error('the report\'s frame stays blank');
    await new Promise((wait) => setTimeout(wait, 250));
  }
}

// Clicks the three save links; the files saved and the names they were given.
async function save(folder) {
  await browser.send('Browser.setDownloadBehavior',
    { behavior: 'allow', downloadPath: folder, eventsEnabled: true });
  const saved = {};
  for (const kind of ['result', 'csv', 'report']) {
    const before = downloads.size;
    await evaluate(`document.getElementById('save-${kind}').click()`);
    // The events may come in one read of the pipe: they are kept as they come.
    for (const end = Date.now() + 30000; ;) {
      const done = [...downloads.values()].slice(before).find((d) => d.state === 'completed');
      if (done) {
        saved[kind] = { name: done.name, bytes: readFileSync(join(folder, done.name)) };
        break;
      }
      if (Date.now() > end) throw new Error(`the ${kind} file was not saved`);
      await new Promise((wait) => setTimeout(wait, 50));
    }
  }
  return saved;
}

// The report's time, in its attribute and in its table, in either form.
const stamp = /\d{4}-\d\d-\d\d(T\d\d:\d\d:\d\d| \d\d:\d\d \(UTC)[+-]\d\d:\d\d\)?/g;
const masked = (bytes) => Buffer.from(bytes).toString('latin1').replace(stamp, 'TIME');

before(async () => {
  if (skip) return;
  work = mkdtempSync(join(tmpdir(), 'grouper-page-'));
  browser = new Browser(join(work, 'profile'), { ...env, TZ: zone });
  browser.on((message) => {
    const { method, params, sessionId } = message;
    if (method === 'Network.requestWillBeSent') requests.push(params.request.url);
    if (method === 'Page.javascriptDialogOpening') dialogs.push(params.message);
    if (method === 'Browser.downloadWillBegin') {
      downloads.set(params.guid, { name: params.suggestedFilename });
    }
    if (method === 'Browser.downloadProgress' && downloads.has(params.guid)) {
      downloads.get(params.guid).state = params.state;
    }
    if (method === 'Target.attachedToTarget') {
      targets.set(params.sessionId, params.targetInfo.type);
      watch(params.sessionId).catch(() => {});
    }
    // The report's frame is a target of its own (a sandboxed frame has an
    // origin of its own); no script may run in it.
    if (method === 'Debugger.scriptParsed' && targets.get(sessionId) === 'iframe') {
      scripts.push(params.url || '(inline)');
    }
  });
  const { targetInfos } = await browser.send('Target.getTargets');
  const { targetId } = targetInfos.find((target) => target.type === 'page');
  ({ sessionId: session } = await browser.send('Target.attachToTarget',
    { targetId, flatten: true }));
  for (const domain of ['Page', 'Runtime', 'DOM']) {
    await browser.send(`${domain}.enable`, {}, session);
  }
  await watch(session);
  await browser.send('Page.navigate', { url: pageUrl }, session);
  await until("/파일을 고르면/.test(document.getElementById('status')?.textContent)", 60000,
    'the page ready');
});

after(async () => {
  await browser?.close();
  if (work) rmSync(work, { recursive: true, force: true });
});

test('a month\'s file gives grouper-month\'s files, named as it names them', { skip },
  async () => {
    const bytes = run(env.GROUPER_SAMPLE, ['--count', '3000', '--seed', '35', '--faults', '0.3']);
    const name = '3월 자료 (최종).txt';
    const input = join(work, name);
    writeFileSync(input, bytes);
    run(env.GROUPER, [input, join(work, 'batch.out')]);
    const native = join(work, '3월 자료 (최종)_grouper');
    run(env.GROUPER_MONTH, [input]);
    const report = join(work, 'report.html');
    run(env.GROUPER_REPORT, [input, report]);

    await pick(input);
    const folder = join(work, 'saved');
    mkdirSync(folder);
    const saved = await save(folder);
    assert.deepEqual(Object.values(saved).map((file) => file.name).sort(),
      readdirSync(native).filter((file) => !file.startsWith('.')).sort());
    assert.ok(saved.result.bytes.equals(readFileSync(join(work, 'batch.out'))), 'result file');
    assert.ok(saved.result.bytes.equals(readFileSync(join(native, saved.result.name))));
    assert.ok(saved.csv.bytes.equals(readFileSync(join(native, saved.csv.name))), 'table');
    assert.equal(masked(saved.report.bytes), masked(readFileSync(report)));
    assert.equal(masked(saved.report.bytes), masked(readFileSync(join(native, saved.report.name))));
    assert.match(await evaluate("document.getElementById('private').textContent"),
      /어디에도 보내지 않습니다/);
  });

// The guide's picture (docs/ko/images/page-month.png) and the text it shows,
// drawn from the bundled sample named as a clerk's month, where
// GROUPER_PAGE_PICTURES names the folder to draw them in.
test('the guide\'s picture of the page', { skip: skip || !env.GROUPER_PAGE_PICTURES }, async () => {
  const input = join(work, '2026년 12월.txt');
  writeFileSync(input, readFileSync(new URL('../../examples/sample.in', import.meta.url)));
  await browser.send('Emulation.setDeviceMetricsOverride',
    { width: 960, height: 860, deviceScaleFactor: 1, mobile: false }, session);
  await pick(input);
  await reportDrawn();
  const { data } = await browser.send('Page.captureScreenshot', { format: 'png' }, session);
  writeFileSync(join(env.GROUPER_PAGE_PICTURES, 'page-month.png'), Buffer.from(data, 'base64'));
  const shown = (await evaluate('document.body.innerText')).split('\n')
    .map((line) => line.trim()).filter((line) => line !== '');
  writeFileSync(join(env.GROUPER_PAGE_PICTURES, 'page-month.txt'), `${shown.join('\n')}\n`);
});

test('a file whose name and content are markup runs no script', { skip }, async () => {
  const records = run(env.GROUPER_SAMPLE, ['--count', '40', '--seed', '36']);
  const hostile = Buffer.from('<script>top.__pwned=1;alert(1)</script>"\'<img src=x onerror=alert(2)>');
  const bytes = Buffer.concat([records, hostile, Buffer.from([0xff, 0x80, 0xc8, 0x0d, 0x0a]),
    records.subarray(0, 200), hostile, Buffer.from('\r\n')]);
  const name = '<img src=x onerror="top.__pwned=1">\'"<b>.txt';
  const input = join(work, name);
  writeFileSync(input, bytes);
  // The page's next files: each report is drawn too (a frame hidden while it
  // was given another document often stayed blank, most often when files
  // came one right after another).
  await browser.send('Emulation.setDeviceMetricsOverride',
    { width: 960, height: 860, deviceScaleFactor: 1, mobile: false }, session);
  for (let i = 0; i < 3; ++i) {
    await pick(input);
    await reportDrawn();
  }
  assert.equal(await evaluate('String(window.__pwned)'), 'undefined');
  assert.equal(await evaluate("document.querySelectorAll('img, [onerror]').length"), 0);
  assert.deepEqual(dialogs, []);
  assert.deepEqual(scripts, []);
  assert.equal(await evaluate("document.getElementById('save-report').download"),
    '<img src=x onerror="top.__pwned=1">\'"<b>.html');
});

test('the page asks the network for nothing', { skip }, async () => {
  // The downloads and the worker are the page's own objects (blob:).
  assert.deepEqual(requests.filter((url) => url !== pageUrl && !url.startsWith('blob:')), []);
  assert.ok(requests.includes(pageUrl), 'the network events were not seen');
  // The page's policy refuses a connection before it is made.
  const refused = await evaluate(`new Promise((done) => {
    document.addEventListener('securitypolicyviolation', (e) => done(e.effectiveDirective));
    fetch('http://127.0.0.1:9/').catch(() => {});
  })`);
  assert.equal(refused, 'connect-src');
  assert.equal(await evaluate('Intl.DateTimeFormat().resolvedOptions().timeZone'), zone);
});
