// The declarations as a TypeScript project meets them, through the
// package's "exports" and "types"; tsc --noEmit fails on any mismatch.
import {
  explainCsv, explainJson, group, groupFile, groupStream, monthFiles, reads, version,
} from 'grouper';
import type { FileAnswer, LineAnswer } from 'grouper';

const line: Uint8Array = new TextEncoder().encode('091');
const answer: LineAnswer = group(line, { lineNumber: 2 });
const kind: 'code' | 'message' | 'wrong-data-type' = answer.kind;
const bytes: Uint8Array[] = [answer.message, answer.outputLine, answer.consoleLine];
const json: string = explainJson(line, { lineNumber: null, showIdentifiers: true });
const file: FileAnswer = groupFile(line);
const notes: string[] = file.warnings;
const month = monthFiles(line, { name: 'x.txt', generated: new Date() });
const table: Uint8Array = explainCsv(line, { korean: true });
const products: Uint8Array[] = [file.result, file.console, month.result, month.csv, month.report, table];
let total = 0;
for (const read of reads(line)) total += read.length;
const named: string = version;
const streamed: string[] = groupStream({
  read: (view) => { view.set(line); return 0; },
  result: (view) => view.length,
}).warnings;
// @ts-expect-error a stream needs somewhere to write its result
groupStream({ read: () => 0 });
// @ts-expect-error a string is not bytes
group('091');
// @ts-expect-error no such option
explainJson(line, { lineNumbr: 1 });
export { bytes, json, kind, named, notes, products, streamed, total };
