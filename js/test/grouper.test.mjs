// The npm package against the native programs, byte for byte, with Node's own
// test runner:
//   GROUPER_PACKAGE=DIR GROUPER=... GROUPER_SAMPLE=... GROUPER_EXPLAIN=...
//   GROUPER_REPORT=... node --test js/test/
// The native programs run under TZ=Asia/Seoul; this process may run in any
// zone (CTest runs it under UTC and under New York's), and the package must
// give the bytes of the batch run in Korea.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import {
  closeSync, mkdtempSync, openSync, readFileSync, readSync, rmSync, writeFileSync, writeSync,
} from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { after, test } from 'node:test';
import { pathToFileURL } from 'node:url';

const env = process.env;
for (const name of ['GROUPER_PACKAGE', 'GROUPER', 'GROUPER_SAMPLE', 'GROUPER_EXPLAIN',
  'GROUPER_REPORT']) {
  if (!env[name]) throw new Error(`${name} is not set`);
}
const grouper = await import(pathToFileURL(join(env.GROUPER_PACKAGE, 'grouper.mjs')).href);

const work = mkdtempSync(join(tmpdir(), 'grouper-js-'));
after(() => rmSync(work, { recursive: true, force: true }));
const seoul = { ...env, TZ: 'Asia/Seoul' };

function run(program, args, options = {}) {
  const done = spawnSync(program, args, { env: seoul, maxBuffer: 1 << 30, ...options });
  if (done.error) throw done.error;
  return done;
}

function sample(...args) {
  return run(env.GROUPER_SAMPLE, args).stdout;
}

let files = 0;
// The native batch on `bytes`: its result file, console and notes.
function batch(bytes, zone = seoul) {
  const input = join(work, `in${++files}`);
  const output = `${input}.out`;
  writeFileSync(input, bytes);
  const done = run(env.GROUPER, [input, output], { env: zone });
  assert.equal(done.status, 0, `the batch failed: ${done.stderr}`);
  const warnings = done.stderr.toString('utf8').split('\n').filter((line) => line !== '');
  return { result: readFileSync(output), console: done.stdout, warnings, input };
}

function assertSameBatch(bytes, what) {
  const native = batch(bytes);
  const ours = grouper.groupFile(bytes);
  assert.ok(Buffer.from(ours.result).equals(native.result), `${what}: result file differs`);
  assert.ok(Buffer.from(ours.console).equals(native.console), `${what}: console differs`);
  assert.deepEqual(ours.warnings, native.warnings, `${what}: notes differ`);
  // Piece by piece: reads of odd sizes, writes taken a few bytes at a time.
  const streamed = streamOf(bytes, 777, 5);
  assert.ok(streamed.result.equals(native.result), `${what}: streamed result file differs`);
  assert.ok(streamed.console.equals(native.console), `${what}: streamed console differs`);
  assert.deepEqual(streamed.warnings, native.warnings, `${what}: streamed notes differ`);
  return native;
}

// A read function for groupStream that gives `bytes`, at most `size` at a time.
function reader(bytes, size = Infinity) {
  let at = 0;
  return (view) => {
    const n = Math.min(size, view.length, bytes.length - at);
    view.set(bytes.subarray(at, at + n));
    at += n;
    return n;
  };
}

// groupStream on `bytes`, read at most `readSize` bytes at a time, each
// output taking at most `take` bytes of a write.
function streamOf(bytes, readSize, take) {
  const outputs = { result: [], console: [] };
  const taker = (into) => (view) => {
    const n = Math.min(take, view.length);
    into.push(Buffer.from(view.subarray(0, n)));
    return n;
  };
  const { warnings } = grouper.groupStream({
    read: reader(bytes, readSize),
    result: taker(outputs.result),
    console: taker(outputs.console),
  });
  const [result, consoleBytes] = [outputs.result, outputs.console].map((b) => Buffer.concat(b));
  return { result, console: consoleBytes, warnings };
}

test('whole files give the batch\'s result file, console and notes', () => {
  const generated = sample('--count', '4000', '--seed', '34', '--faults', '0.35');
  const native = assertSameBatch(generated, 'every version with faults');
  assert.ok(native.console.length > 4000 * 20);
  const cases = {
    empty: new Uint8Array(0),
    'UTF-8 with a byte-order mark': Buffer.concat([Buffer.from([0xef, 0xbb, 0xbf]),
      Buffer.from('091가나다\n', 'utf8'), generated.subarray(0, 2000)]),
    'CR line ends': Buffer.from(generated.subarray(0, 3000).toString('latin1')
      .replaceAll('\r\n', '\r'), 'latin1'),
    'lines past a read, NUL bytes, invalid code page 949': Buffer.concat([
      Buffer.alloc(3000, 0x41), Buffer.from([0x0a, 0x00, 0x80, 0xff, 0xa1, 0x0a, 0xc8]),
      generated.subarray(0, 800)]),
    'no line end at the end': generated.subarray(0, generated.length - 2),
  };
  for (const [what, bytes] of Object.entries(cases)) assertSameBatch(bytes, what);
  // A wrong file is noted as the batch notes it.
  assert.ok(batch(cases['UTF-8 with a byte-order mark']).warnings.length > 0);
});

test('each line alone gives the batch\'s line, console line and reads', () => {
  const bytes = sample('--count', '600', '--seed', '5', '--faults', '0.5');
  const native = batch(bytes);
  const reads = [...grouper.reads(bytes)];
  const outputs = [];
  const consoles = [Buffer.from('\n')];
  reads.forEach((read, i) => {
    const answer = grouper.group(read, { lineNumber: i + 1 });
    outputs.push(answer.outputLine);
    consoles.push(answer.consoleLine);
    assert.equal(answer.kind === 'code', answer.code !== '' || answer.message.length === 0);
    assert.equal(Buffer.from(answer.message).toString('latin1') === '', answer.messageText === '');
  });
  assert.ok(Buffer.concat(outputs).equals(native.result));
  assert.ok(Buffer.concat(consoles).equals(native.console));
  assert.equal(grouper.version, run(env.GROUPER_EXPLAIN, ['--version']).stdout.toString()
    .match(/\d+\.\d+\.\d+/)[0]);
});

test('explainJson gives grouper-explain --json for the line', () => {
  const bytes = sample('--count', '300', '--seed', '8', '--faults', '0.5');
  const input = join(work, 'explain.in');
  writeFileSync(input, bytes);
  const reads = [...grouper.reads(bytes)];
  for (const showIdentifiers of [false, true]) {
    const args = ['--json', ...(showIdentifiers ? ['--show-identifiers'] : []), input];
    const lines = run(env.GROUPER_EXPLAIN, args).stdout.toString('utf8').split('\n');
    reads.forEach((read, i) => {
      assert.equal(grouper.explainJson(read, { lineNumber: i + 1, showIdentifiers }), lines[i],
        `line ${i + 1}`);
    });
  }
  assert.match(grouper.explainJson(reads[0]), /^\{"line":null,/);
});

// A record of each family whose admission, care start and assessment dates
// are `date` (the first three dates of the form, at the same columns in every
// versioned layout).
function dated(records, date) {
  return records.map((line) => {
    const copy = Buffer.from(line);
    for (const at of [36, 44, 53]) copy.write(date, at, 'latin1');
    return copy;
  });
}

test('dates at the edges are judged as in Korea, whatever the zone', () => {
  const lines = sample('--count', '40', '--seed', '3', '--versions', '089,010,090,011,091,012,092,013')
    .toString('latin1').split('\r\n').filter((line) => line !== '')
    .map((line) => Buffer.from(`${line}\r\n`, 'latin1'));
  const dates = ['19700101', '19700102', '19700103', '20380118', '20380119', '20380120',
    '20380121', '20390101', '21060207', '99991231'];
  const bytes = Buffer.concat(dates.flatMap((date) => dated(lines, date)));
  const native = assertSameBatch(bytes, `dated records (TZ=${env.TZ ?? 'unset'})`);
  // The edges matter: in another zone the batch answers otherwise.
  const utc = batch(bytes, { ...env, TZ: 'UTC' });
  assert.ok(!utc.result.equals(native.result), 'the edge dates do not depend on the zone');
});

test('grouper-month\'s result file, table and report', () => {
  const bytes = sample('--count', '1500', '--seed', '26', '--faults', '0.1');
  const native = batch(bytes);
  // A name with Hangul, blanks and markup, which the page shows escaped.
  const name = '12월 자료 <b onclick="x">&amp.txt';
  const input = join(work, name);
  writeFileSync(input, bytes);
  // grouper-month's table is the Korean one.
  const csv = run(env.GROUPER_EXPLAIN, ['--csv-ko', input]).stdout;
  const page = join(work, 'month.html');
  run(env.GROUPER_REPORT, [input, page]);
  const ours = grouper.monthFiles(bytes, { name, generated: new Date(Date.UTC(2026, 2, 31)) });
  // The time the page was made, in its attribute (ISO 8601) and as a clerk reads it.
  const stamp = /\d{4}-\d\d-\d\d(T\d\d:\d\d:\d\d[+-]\d\d:\d\d| \d\d:\d\d \(UTC[+-]\d\d:\d\d\))/g;
  assert.ok(Buffer.from(ours.result).equals(native.result));
  assert.ok(Buffer.from(ours.csv).equals(csv));
  assert.ok(Buffer.from(grouper.explainCsv(bytes, { korean: true })).equals(csv));
  const english = run(env.GROUPER_EXPLAIN, ['--csv', input]).stdout;
  assert.ok(Buffer.from(grouper.explainCsv(bytes)).equals(english));
  const masked = (b) => Buffer.from(b).toString('latin1').replace(stamp, 'T');
  assert.equal(masked(ours.report), masked(readFileSync(page)));
  assert.ok(!masked(ours.report).includes('<b onclick'));
});

test('products are named as grouper-month names them, and progress is told', () => {
  for (const [name, stem] of [['march.txt', 'march'], ['3월 자료.in.txt', '3월 자료.in'],
    ['noext', 'noext'], ['.month', '.month'], ['dir/sub/a.b', 'a'], ['<b>"\'.txt', '<b>"\'']]) {
    assert.deepEqual(grouper.productNames(name),
      { result: `${stem}.out`, csv: `${stem}.csv`, report: `${stem}.html` }, name);
  }
  assert.throws(() => grouper.productNames(5), TypeError);
  // Over two megabytes: more than one read of the input.
  const bytes = sample('--count', '6000', '--seed', '27');
  const told = [];
  const files = grouper.monthFiles(bytes, { onProgress: (done, total) => told.push([done, total]) });
  assert.ok(Buffer.from(files.result).equals(batch(bytes).result));
  assert.ok(told.length >= 2 && told.length <= 101, `${told.length} calls`);
  assert.deepEqual(told.at(-1), [bytes.length, bytes.length]);
  assert.ok(told.every(([done], i) => i === 0 || done > told[i - 1][0]));
  assert.throws(() => grouper.monthFiles(bytes, { onProgress: 1 }), TypeError);
  // A progress function that throws stops the work, and its error is the caller's.
  const stop = new Error('stopped');
  assert.throws(() => grouper.monthFiles(bytes, { onProgress: () => { throw stop; } }),
    (error) => error === stop);
  assert.throws(() => grouper.monthFiles(bytes, { onProgress: () => grouper.productNames('a') }),
    /being answered/);
});

test('bad input gives a clear error or the batch\'s answer', () => {
  for (const value of ['091', null, undefined, 42, [0x30], new Uint16Array(4)]) {
    assert.throws(() => grouper.group(value), TypeError);
    assert.throws(() => grouper.explainJson(value), TypeError);
    assert.throws(() => grouper.groupFile(value), TypeError);
  }
  assert.throws(() => grouper.group(new Uint8Array(1), { lineNumber: -1 }), RangeError);
  for (const generated of [new Date(Date.UTC(2038, 0, 20)), new Date(-1000), new Date(NaN), 5]) {
    assert.throws(() => grouper.monthFiles(new Uint8Array(0), { generated }), /generated/);
  }
  const huge = new Uint8Array(64 << 20).fill(0x39);
  const answer = grouper.group(huge);
  assert.equal(answer.kind, 'wrong-data-type');
  assert.ok(answer.outputLine.length <= 2047);
  assert.match(grouper.explainJson(huge), /"result":"wrong_data_type"/);
  // Invalid code page 949 and NUL bytes: the batch's answer, valid JSON.
  const invalid = Buffer.from([0x30, 0x39, 0x31, 0x80, 0xff, 0x00, 0xc8, 0x41]);
  assert.equal(grouper.group(invalid).kind, 'wrong-data-type');
  JSON.parse(grouper.explainJson(invalid, { showIdentifiers: true }));
  // The module still answers after all of that.
  assertSameBatch(sample('--count', '50', '--seed', '9'), 'after bad input');
});

test('a stream of real files, and functions that fail', () => {
  const bytes = sample('--count', '3000', '--seed', '35', '--faults', '0.2');
  const native = batch(bytes);
  const input = openSync(native.input, 'r');
  const resultName = join(work, 'streamed.out');
  const output = openSync(resultName, 'w');
  try {
    grouper.groupStream({
      read: (view) => readSync(input, view),
      result: (view) => writeSync(output, view),
    });
  } finally {
    closeSync(input);
    closeSync(output);
  }
  assert.ok(readFileSync(resultName).equals(native.result));
  // A write that fails stops the batch, as a full disk does, and its error
  // is the caller's; so is a read that fails or gives a wrong count.
  const full = openSync('/dev/full', 'w');
  try {
    assert.throws(() => grouper.groupStream({
      read: reader(bytes),
      result: (view) => writeSync(full, view),
    }), { code: 'ENOSPC' });
  } finally {
    closeSync(full);
  }
  const unread = new Error('unreadable');
  assert.throws(() => grouper.groupStream({ read: () => { throw unread; }, result: () => {} }),
    (error) => error === unread);
  const stream = (read, result) => () => grouper.groupStream({ read, result });
  for (const n of [-1, 1.5, 1 << 30, '7', undefined]) {
    assert.throws(stream(() => n, () => {}), RangeError, `${n}`);
  }
  for (const n of [0, -3, 'x']) assert.throws(stream(reader(bytes), () => n), RangeError, `${n}`);
  assert.throws(stream(reader(bytes)), TypeError);
  // The functions given are called with views of the module's memory, which
  // a call of the module could move: none may be made from them.
  for (const call of [() => grouper.groupFile(bytes), () => grouper.group(bytes),
    () => [...grouper.reads(bytes)], () => grouper.productNames('a.txt')]) {
    assert.throws(stream(reader(bytes), call), /being answered/);
  }
  assertSameBatch(bytes, 'after failed streams');
});
