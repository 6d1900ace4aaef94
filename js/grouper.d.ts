// Types of the grouper package (grouper.mjs). Records are code page 949
// bytes; strings only where the library gives UTF-8 text.

/** The library's version, "major.minor.patch". */
export declare const version: string;

/** The answer to one line, as the batch gives it. */
export interface LineAnswer {
  /** A group code, a broken rule's message, or a line of the wrong length for its form. */
  kind: 'code' | 'message' | 'wrong-data-type';
  /** The line's first three bytes (fewer if shorter). */
  formVersion: string;
  /** "A11".."A73" for a code ("" for a valid record whose code cannot be formed), else "". */
  code: string;
  /** The layout the line was judged by: "089/010", "090/011", "091/012", "092/013" or "base". */
  layout: string;
  /** The message, code page 949 bytes; empty for a code. */
  message: Uint8Array;
  /** The same message as text. */
  messageText: string;
  /** The result-file line that the batch writes for the line, CR LF included. */
  outputLine: Uint8Array;
  /** The console line that the batch prints for the line, line feed included. */
  consoleLine: Uint8Array;
}

export interface GroupOptions {
  /** The line's number in its file, for the console line (default 1). */
  lineNumber?: number;
}

/**
 * Groups one line (a read of the batch's input, with or without its line
 * end). Throws a TypeError when `line` is not a Uint8Array.
 */
export declare function group(line: Uint8Array, options?: GroupOptions): LineAnswer;

export interface ExplainOptions {
  /** The JSON's "line"; null when not given. */
  lineNumber?: number | null;
  /** The identifiers whole, not masked. */
  showIdentifiers?: boolean;
}

/** The JSON object of `grouper-explain --json` for the line (no line end). */
export declare function explainJson(line: Uint8Array, options?: ExplainOptions): string;

/**
 * The reads of a file's bytes as the batch cuts them into lines (each up to
 * and including its line feed, at most 1023 bytes), as views into `bytes`.
 */
export declare function reads(bytes: Uint8Array): Generator<Uint8Array, void, undefined>;

export interface FileAnswer {
  /** The batch's result file. */
  result: Uint8Array;
  /** What the batch prints on standard output for the file, its opening line feed included. */
  console: Uint8Array;
  /** The notes on a wrong file that the batch prints on standard error, one per line. */
  warnings: string[];
}

/** The batch `grouper INPUT RESULT` run on a file of these bytes. */
export declare function groupFile(bytes: Uint8Array): FileAnswer;

export interface StreamFunctions {
  /**
   * Puts the input's next bytes at the start of `view` and gives their
   * number, 0 at the end (as fs.readSync does).
   */
  read(view: Uint8Array): number;
  /**
   * Takes the next bytes of the result file: all of them (giving nothing
   * back) or, as fs.writeSync, the number taken; the rest is handed over again.
   */
  result(view: Uint8Array): number | void;
  /** Takes the next bytes of what the batch prints on standard output, as `result` does. */
  console?(view: Uint8Array): number | void;
}

/**
 * The batch `grouper INPUT RESULT` on a file read and answered piece by piece,
 * in little memory whatever its size. The views are of the module's memory
 * and last until the function returns. A function that throws stops the batch
 * as a failed read or write does, and its error is thrown.
 */
export declare function groupStream(functions: StreamFunctions): { warnings: string[] };

export interface MonthOptions {
  /** The file's name, which the report shows (default "input.txt"). */
  name?: string;
  /** The time the report names (default now), from 1970 to 19 January 2038. */
  generated?: Date;
  /** Told of the bytes read as the file is read, at most once for each hundredth. */
  onProgress?: (done: number, total: number) => void;
}

export interface MonthFiles {
  /** The batch's result file. */
  result: Uint8Array;
  /** The explanation table, grouper-month's (as `grouper-explain --csv-ko` writes it). */
  csv: Uint8Array;
  /** The report page, as `grouper-report` writes it. */
  report: Uint8Array;
}

export interface TableOptions {
  /** The Korean table of grouper-month and `grouper-explain --csv-ko`; the English one of `--csv` when false. */
  korean?: boolean;
}

/** The explanation table of a file, as `grouper-explain --csv` (or `--csv-ko`) writes it. */
export declare function explainCsv(bytes: Uint8Array, options?: TableOptions): Uint8Array;

/** grouper-month's products of a month's file. */
export declare function monthFiles(bytes: Uint8Array, options?: MonthOptions): MonthFiles;

export interface ProductNames {
  /** The result file's name, "<stem>.out". */
  result: string;
  /** The explanation table's name, "<stem>.csv". */
  csv: string;
  /** The report page's name, "<stem>.html". */
  report: string;
}

/** The names grouper-month gives the products of a file of this name or path. */
export declare function productNames(name: string): ProductNames;
