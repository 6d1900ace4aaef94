// grouper for Node and browsers: the library's own C++ compiled to
// WebAssembly, behind a few functions that take and give bytes. Every answer
// comes from the same code as the batch program's (the module runs the
// batch's line processing and, for whole files, the batch itself and
// grouper-month's product makers); nothing here knows a rule of the form.
//
// Records are code page 949 bytes (Uint8Array) in and out; strings only where
// the library gives UTF-8 (a message's text, the explanation's JSON, the
// notes on a wrong file). The module is loaded once, when this module is
// imported; every function is synchronous after that. Dates are judged as the
// batch judges them in Korea (Asia/Seoul), whatever the zone of the process
// or the browser.
import createGrouperCore from './grouper_core.mjs';
import wasmBase64 from './grouper_wasm.mjs';

function decodeBase64(text) {
  const chars = atob(text);
  const bytes = new Uint8Array(chars.length);
  for (let i = 0; i < chars.length; ++i) bytes[i] = chars.charCodeAt(i);
  return bytes;
}

const core = await createGrouperCore({
  wasmBinary: decodeBase64(wasmBase64),
  // The module's own standard streams are never written: the batch's are
  // files of its memory file system (groupFile).
  print() {},
  printErr() {},
});

const utf8 = new TextDecoder('utf-8');
const FS = core.FS;

// The memory file system grows a file by an eighth at a time past its first
// megabyte, copying it whole each time: the result file of a large month
// would be copied dozens of times. Doubling copies it a few times.
const MEMFS = FS.filesystems.MEMFS;
MEMFS.expandFileStorage = (node, needed) => {
  const capacity = node.contents ? node.contents.length : 0;
  if (capacity >= needed) return;
  const grown = new Uint8Array(Math.max(needed, capacity * 2, 256));
  if (node.usedBytes > 0) grown.set(node.contents.subarray(0, node.usedBytes));
  node.contents = grown;
};

// The batch's files are devices of the module's file system, each of which
// hands what the batch reads or writes to the function set for it for the
// run, as views of the module's memory: groupFile collects the outputs in
// buffers (its input is a file of the caller's bytes), groupStream hands the
// input and the outputs to the caller's functions. A function that throws is
// an input or output error to the batch, which stops as it does on a failed
// read or write; the error is thrown again when the batch has ended.
const EIO = 29; // the module's C library's number for an input or output error
const ends = { input: null, result: null, console: null, errors: null };
let thrown = null;
const devices = Object.fromEntries(Object.keys(ends).map((name, minor) => {
  const device = FS.makedev(64, minor);
  const heapView = (buffer, offset, length) =>
    new Uint8Array(buffer.buffer, buffer.byteOffset + offset, length);
  FS.registerDevice(device, {
    read(stream, buffer, offset, length) {
      try {
        const n = ends[name](heapView(buffer, offset, length));
        if (!Number.isInteger(n) || n < 0 || n > length) {
          throw new RangeError(`grouper: read gave ${n}, not a count of bytes from 0 to ${length}`);
        }
        return n;
      } catch (error) {
        thrown ??= error;
        throw new FS.ErrnoError(EIO);
      }
    },
    write(stream, buffer, offset, length) {
      try {
        handOver(ends[name], heapView(buffer, offset, length));
        return length;
      } catch (error) {
        thrown ??= error;
        throw new FS.ErrnoError(EIO);
      }
    },
  });
  return [name, device];
}));

// Hands `view` to `take`, which takes it whole (and gives nothing back) or
// gives the number of its first bytes it took, as fs.writeSync does; the rest
// is handed over again.
function handOver(take, view) {
  for (let done = 0; done < view.length;) {
    const n = take(view.subarray(done));
    if (n === undefined) return;
    if (!Number.isInteger(n) || n <= 0 || n > view.length - done) {
      throw new RangeError(`grouper: a write took ${n} of ${view.length - done} bytes`);
    }
    done += n;
  }
}

// A function that keeps what is written to it in one buffer, sized at the
// start (`capacity`) and doubled when that is too small. Memory that is never
// written is never touched, so the room to spare costs nothing; `bytes()` is
// a view of what was written.
function collector(capacity) {
  let bytes = new Uint8Array(capacity);
  let used = 0;
  const take = (view) => {
    const needed = used + view.length;
    if (needed > bytes.length) {
      const grown = new Uint8Array(Math.max(needed, bytes.length * 2));
      grown.set(bytes.subarray(0, used));
      bytes = grown;
    }
    bytes.set(view, used);
    used = needed;
  };
  take.bytes = () => bytes.subarray(0, used);
  return take;
}

// Runs the batch on the devices of `folder` with `sources` as their
// functions; throws the error of a function that threw, or says why the batch
// failed.
function runBatch(folder, sources) {
  Object.assign(ends, sources);
  for (const name of ['result', 'console', 'errors']) {
    FS.mkdev(`${folder}/${name}`, 0o666, devices[name]);
  }
  try {
    const status = withText(`${folder}/input`, (input) =>
      withText(`${folder}/result`, (result) =>
        withText(`${folder}/console`, (consoleFile) =>
          withText(`${folder}/errors`, (errors) =>
            core._grouper_wasm_group_file(input, result, consoleFile, errors)))));
    if (thrown !== null) throw thrown;
    if (status !== 0) {
      const why = status === -2 ? 'memory ran out' : `the batch ended with status ${status}`;
      throw new Error(`grouper: the file could not be grouped: ${why}`);
    }
  } finally {
    for (const name of Object.keys(ends)) ends[name] = null;
  }
}

// The kinds of answer, by grouper.h's GROUPER_KIND_* number.
const KINDS = ['code', 'message', 'wrong-data-type'];
const EXPLAIN_SHOW_IDENTIFIERS = 1;
const RESULT_SIZE = 20; // grouper_result in wasm32: int, char[4], char[4], two pointers

// True while a file is answered. The functions given to groupStream and
// monthFiles are called then, with views of the module's memory, which
// another call could move (the memory grows): no function of the module may
// be called from them.
let working = false;

function notWorking() {
  if (working) {
    throw new Error('grouper: a file is being answered; grouper cannot be called until it is done');
  }
}

function bytesOf(value, what) {
  if (!(value instanceof Uint8Array)) {
    throw new TypeError(`grouper: ${what} must be a Uint8Array (code page 949 bytes), not ${
      value === null ? 'null' : typeof value}`);
  }
  return value;
}

function allocate(size) {
  const pointer = core._malloc(Math.max(size, 1));
  if (pointer === 0) throw new RangeError(`grouper: no memory for ${size} bytes`);
  return pointer;
}

// Runs `work` with `bytes` copied into the module's memory; frees them after.
function withBytes(bytes, work) {
  const pointer = allocate(bytes.length);
  try {
    core.HEAPU8.set(bytes, pointer);
    return work(pointer, bytes.length);
  } finally {
    core._free(pointer);
  }
}

function withText(text, work) {
  return withBytes(new TextEncoder().encode(`${text}\0`), (pointer) => work(pointer));
}

function cString(pointer) {
  const heap = core.HEAPU8;
  let end = pointer;
  while (heap[end] !== 0) ++end;
  return heap.slice(pointer, end);
}

// A snprintf-like formatter of the C interface called twice: for the length,
// then with a buffer that holds it.
function formatted(call) {
  const length = call(0, 0);
  const buffer = allocate(length + 1);
  try {
    call(buffer, length + 1);
    return core.HEAPU8.slice(buffer, buffer + length);
  } finally {
    core._free(buffer);
  }
}

function lineNumberOf(options, fallback) {
  const n = options?.lineNumber ?? fallback;
  if (n === null) return -1;
  if (!Number.isSafeInteger(n) || n < 0) {
    throw new RangeError(`grouper: lineNumber must be an integer of 0 or more, not ${n}`);
  }
  return n;
}

/** The library's version, "major.minor.patch". */
export const version = utf8.decode(cString(core._grouper_version()));

/**
 * Groups one line as the batch does: its answer, and the result-file line and
 * the console line that the batch writes for it as line `lineNumber`.
 */
export function group(line, options = {}) {
  notWorking();
  bytesOf(line, 'line');
  const lineNumber = lineNumberOf(options, 1);
  return withBytes(line, (pointer, length) => {
    const result = allocate(RESULT_SIZE);
    try {
      core._grouper_group_line(pointer, length, result);
      const view = new DataView(core.HEAPU8.buffer);
      const answer = {
        kind: KINDS[view.getInt32(result, true)],
        formVersion: utf8.decode(cString(result + 4)),
        code: utf8.decode(cString(result + 8)),
        layout: utf8.decode(cString(core._grouper_layout(result))),
        message: cString(view.getUint32(result + 12, true)),
        messageText: utf8.decode(cString(view.getUint32(result + 16, true))),
      };
      // Formatting allocates, which may grow the memory (and detach `view`).
      answer.outputLine = formatted((buffer, size) =>
        core._grouper_format_output_line(pointer, length, result, buffer, size));
      // The line number is an unsigned long long, passed as two 32-bit halves.
      const low = lineNumber % 2 ** 32;
      const high = Math.floor(lineNumber / 2 ** 32);
      answer.consoleLine = formatted((buffer, size) =>
        core._grouper_format_console_line(low, high, result, buffer, size));
      return answer;
    } finally {
      core._free(result);
    }
  });
}

/**
 * Why the line gets its answer: the JSON object of `grouper-explain --json`
 * (UTF-8 text, no line end), its "line" the number given (null without one).
 */
export function explainJson(line, options = {}) {
  notWorking();
  bytesOf(line, 'line');
  const lineNumber = lineNumberOf(options, null);
  const flags = options?.showIdentifiers ? EXPLAIN_SHOW_IDENTIFIERS : 0;
  return withBytes(line, (pointer, length) => {
    const lengthOut = allocate(4);
    try {
      const json = core._grouper_wasm_explain_json(pointer, length, flags, lineNumber, lengthOut);
      if (json === 0) throw new RangeError('grouper: no memory for the explanation');
      try {
        const n = new DataView(core.HEAPU8.buffer).getUint32(lengthOut, true);
        return utf8.decode(core.HEAPU8.subarray(json, json + n));
      } finally {
        core._free(json);
      }
    } finally {
      core._free(lengthOut);
    }
  });
}

/**
 * The reads of `bytes` as the batch cuts its input into lines (each up to and
 * including its line feed, at most 1023 bytes): views into `bytes`, in order.
 */
export function* reads(bytes) {
  notWorking();
  bytesOf(bytes, 'bytes');
  const window = allocate(1023);
  try {
    for (let at = 0; at < bytes.length;) {
      const chunk = bytes.subarray(at, at + 1023);
      core.HEAPU8.set(chunk, window);
      const n = core._grouper_next_read(window, chunk.length);
      yield bytes.subarray(at, at + n);
      at += n;
    }
  } finally {
    core._free(window);
  }
}

let runs = 0;

// Runs `work` on a fresh folder of the module's file system holding the input
// file (`bytes`, or null for the input device); removes the folder and
// everything in it after. `onRead`, when given, is told how many of the
// input's bytes have been read, as they are read.
function inFolder(bytes, work, onRead) {
  notWorking();
  working = true;
  thrown = null;
  const folder = `/run${++runs}`;
  FS.mkdir(folder);
  try {
    // The file system reads the caller's bytes where they are, without a
    // copy; without bytes, the input is the device that asks read().
    if (bytes === null) FS.mkdev(`${folder}/input`, 0o444, devices.input);
    else FS.writeFile(`${folder}/input`, bytes, { canOwn: true });
    if (onRead) {
      // A stream takes its node's operations when it is opened.
      const node = FS.lookupPath(`${folder}/input`).node;
      const { read } = node.stream_ops;
      node.stream_ops = {
        ...node.stream_ops,
        read(stream, buffer, offset, length, position) {
          const n = read(stream, buffer, offset, length, position);
          try {
            onRead(position + n);
          } catch (error) {
            // As a function of groupStream's: the work stops as on a failed read.
            thrown ??= error;
            throw new FS.ErrnoError(EIO);
          }
          return n;
        },
      };
    }
    return work(folder);
  } finally {
    for (const name of FS.readdir(folder)) {
      if (name !== '.' && name !== '..') FS.unlink(`${folder}/${name}`);
    }
    FS.rmdir(folder);
    working = false;
    thrown = null;
  }
}

function linesOf(bytes) {
  return utf8.decode(bytes).split('\n').filter((line) => line !== '');
}

/**
 * The batch `grouper INPUT RESULT` run on a file of these bytes: the result
 * file, the console as the batch prints it on standard output (its opening
 * line feed included), and the notes on a wrong file that it prints on
 * standard error (UTF-8, one per line).
 */
export function groupFile(bytes) {
  bytesOf(bytes, 'bytes');
  // A result line is its input line and at most a message more; a console
  // line a few dozen bytes. At most a gigabyte at first: past that the
  // buffers grow as written.
  const room = (n) => Math.min(Math.ceil(n) + 4096, 2 ** 30);
  const result = collector(room(bytes.length * 1.5));
  const consoleBytes = collector(room(bytes.length / 4));
  const errors = collector(4096);
  inFolder(bytes, (folder) =>
    runBatch(folder, { result, console: consoleBytes, errors }));
  const warnings = linesOf(errors.bytes());
  return { result: result.bytes(), console: consoleBytes.bytes(), warnings };
}

/**
 * The batch `grouper INPUT RESULT` on a file that is read, and answered,
 * piece by piece, so that a file of any size takes little memory:
 * `read(view)` puts the input's next bytes at the start of `view` (a
 * Uint8Array) and gives their number, 0 at the end; `result(view)` and
 * `console(view)` (optional) take the next bytes of the result file and of
 * what the batch prints on standard output, all of them (giving nothing
 * back) or, as fs.writeSync, the number taken, the rest being handed over
 * again. Views are of the module's memory and last until the function
 * returns. In Node: `read: (view) => readSync(fd, view)`. Gives the notes on
 * a wrong file (UTF-8, one per line); a function that throws stops the batch
 * as a failed read or write does, and its error is thrown.
 */
export function groupStream({ read, result, console: consoleOut } = {}) {
  for (const [what, take] of [['read', read], ['result', result]]) {
    if (typeof take !== 'function') throw new TypeError(`grouper: ${what} must be a function`);
  }
  if (consoleOut !== undefined && typeof consoleOut !== 'function') {
    throw new TypeError('grouper: console must be a function');
  }
  const errors = collector(4096);
  inFolder(null, (folder) => runBatch(folder, {
    input: read,
    result,
    console: consoleOut ?? (() => undefined),
    errors,
  }));
  return { warnings: linesOf(errors.bytes()) };
}

/**
 * The explanation table of a file: as `grouper-explain --csv` writes it
 * (English headers and values, for programs), or with `{ korean: true }` as
 * `grouper-explain --csv-ko` and grouper-month write it (for a clerk).
 */
export function explainCsv(bytes, options = {}) {
  bytesOf(bytes, 'bytes');
  const korean = options?.korean === true ? 1 : 0;
  return inFolder(bytes, (folder) => {
    const error = withText(`${folder}/input`, (input) =>
      withText(`${folder}/table`, (table) => core._grouper_wasm_table(input, table, korean)));
    if (error !== 0) throw new Error(`grouper: the table could not be made (error ${error})`);
    return FS.readFile(`${folder}/table`);
  });
}

/**
 * grouper-month's products of a month's file: the result file, the
 * explanation table (Korean, as `grouper-explain --csv-ko` writes it) and the
 * report page, which names the file `name` and the time `generated` (a Date,
 * now when not given). `onProgress(done, total)`, when given, is called as the
 * file's bytes are read, `done` of `total`, at most once for each hundredth.
 */
export function monthFiles(bytes, options = {}) {
  bytesOf(bytes, 'bytes');
  const name = String(options?.name ?? 'input.txt');
  const onProgress = options?.onProgress;
  if (onProgress !== undefined && typeof onProgress !== 'function') {
    throw new TypeError('grouper: onProgress must be a function');
  }
  const generated = options?.generated ?? new Date();
  if (!(generated instanceof Date) || Number.isNaN(generated.getTime())) {
    throw new TypeError('grouper: generated must be a valid Date');
  }
  const seconds = Math.floor(generated.getTime() / 1000);
  if (seconds < 0 || seconds > 2 ** 31 - 1) {
    // The module's C library counts time in 32 bits.
    throw new RangeError('grouper: generated must lie from 1970 to 19 January 2038');
  }
  return inFolder(bytes, (folder) => {
    const error = withText(`${folder}/input`, (input) =>
      withText(`${folder}/result`, (result) =>
        withText(`${folder}/table`, (table) =>
          withText(`${folder}/report`, (page) =>
            withText(name, (named) =>
              core._grouper_wasm_month(input, result, table, page, named, seconds))))));
    if (thrown !== null) throw thrown;
    if (error !== 0) throw new Error(`grouper: the month's files could not be made (error ${error})`);
    return {
      result: FS.readFile(`${folder}/result`),
      csv: FS.readFile(`${folder}/table`),
      report: FS.readFile(`${folder}/report`),
    };
  }, onProgress && progressOf(bytes.length, onProgress));
}

// Tells `onProgress` of the bytes read when another hundredth is done.
function progressOf(total, onProgress) {
  let told = -1;
  return (done) => {
    const hundredths = total === 0 ? 100 : Math.floor((done * 100) / total);
    if (hundredths > told) {
      told = hundredths;
      onProgress(done, total);
    }
  };
}

/**
 * The names grouper-month gives the products of a file named `name` (the
 * input's name or path): `{ result, csv, report }`, e.g. "march.out",
 * "march.csv" and "march.html" for "march.txt".
 */
export function productNames(name) {
  notWorking();
  if (typeof name !== 'string') throw new TypeError('grouper: name must be a string');
  const names = withText(name, (named) => core._grouper_wasm_product_names(named));
  if (names === 0) throw new RangeError('grouper: no memory for the names');
  try {
    const list = [];
    for (let at = names; list.length < 3;) {
      const bytes = cString(at);
      list.push(utf8.decode(bytes));
      at += bytes.length + 1;
    }
    const [result, csv, report] = list;
    return { result, csv, report };
  } finally {
    core._free(names);
  }
}
