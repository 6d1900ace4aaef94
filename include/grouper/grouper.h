/*
 * grouper.h: the C interface of libgrouper.
 *
 * libgrouper answers assessment records of long-term care hospitals, one line
 * at a time, exactly as the batch program `grouper` answers the lines of its
 * input file: with the patient group code ("A11" to "A73"), with the message
 * of the first rule of the form that the record breaks, or, for a line whose
 * length does not fit its form version, with the wrong-data-type message.
 *
 * Encoding. Record lines and the messages are code page 949 (Korean) bytes,
 * as in the batch's files; every message is also given in UTF-8. Lengths and
 * columns count bytes.
 *
 * Ownership. The caller owns every buffer it passes and gives its size; the
 * library keeps no pointer to them after a call returns. The messages that a
 * result points to are static: they live as long as the process and must not
 * be freed.
 *
 * Thread safety. The library keeps no mutable process-wide state and takes no
 * lock: every function may be called from any number of threads at once, each
 * call working on its own arguments (a result structure must not be shared by
 * threads that write it).
 *
 * Time zone. A date is valid when its local midnight lies from 0 to 2^31 - 1
 * seconds after 1 January 1970 00:00 UTC, so the zone decides only the first
 * and the last valid date (in Korean time 2 January 1970 and 19 January 2038).
 * The zone in force at the first date that the process checks fixes them for
 * the life of the process: set it (the TZ variable, "Asia/Seoul" or, for the
 * Windows C runtime, "KST-9") before the first call. Nothing else depends on
 * the zone; dates compare in calendar order.
 *
 * Errors. Functions that can fail return a status: GROUPER_OK (0) or a
 * negative GROUPER_ERROR_* value; no C++ exception ever leaves the library.
 * The functions that return a length return 0 when they cannot answer:
 * grouper_format_output_line and grouper_format_console_line only for a bad
 * argument (a formatted line is never empty), grouper_explain_json for a bad
 * argument or when memory runs out. grouper_explain_json_into and
 * grouper_group_line_into return a status instead and give lengths through
 * out-parameters. No call keeps an error anywhere for a later call to read.
 *
 * Calls of plain integers and bytes. The functions whose names end in _into
 * take and give only ints (32 bits), pointers to bytes and pointers to ints,
 * so that a program that cannot read a C structure with pointers in it (a
 * Visual Basic 6 Declare, an external function of PowerBuilder) can call
 * them. Each writes its texts into the caller's buffers, whole or not at all:
 *   - each text comes with a buffer and its size in bytes; a size of 0 asks
 *     for no text (the buffer may then be NULL and is not touched);
 *   - each text's length in bytes, without the terminating NUL, is written
 *     to its length out-parameter (which may be NULL), as snprintf returns;
 *   - when every wanted text fits with its NUL (length < size), all are
 *     written and the call returns GROUPER_OK;
 *   - when one does not, or memory runs out, the call writes the empty text
 *     ("") into every buffer asked for and returns the status: no buffer
 *     ever holds a cut text or a text of an earlier call. The lengths are
 *     still given: call again with buffers that large plus one;
 *   - a bad argument writes nothing at all.
 * A buffer of GROUPER_MAX_OUTPUT_LINE + 1 bytes holds any text of
 * grouper_group_line_into.
 */
#ifndef GROUPER_GROUPER_H
#define GROUPER_GROUPER_H

#include <stddef.h>

#if defined(_WIN32) && defined(GROUPER_SHARED)
#if defined(GROUPER_BUILDING)
#define GROUPER_API __declspec(dllexport)
#else
#define GROUPER_API __declspec(dllimport)
#endif
#elif defined(__GNUC__) && defined(GROUPER_BUILDING)
#define GROUPER_API __attribute__((visibility("default")))
#else
#define GROUPER_API
#endif

/* The calling convention of every function: __stdcall on 32-bit Windows,
   the only one that Visual Basic 6 and PowerBuilder can call (the library
   built there exports the functions under their plain names, without the
   @N of the convention, and its import library grouper.lib links a C
   program's decorated references to them); the platform's one convention
   elsewhere, where the macro is empty. A program that takes a function's
   address writes it too: int (GROUPER_CALL *f)(void) = grouper_version_number; */
#if defined(_WIN32) && !defined(_WIN64)
#define GROUPER_CALL __stdcall
#else
#define GROUPER_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The library's version: its three numbers are the one place where a release
   is numbered (the build reads them from here too). GROUPER_VERSION is the
   text "major.minor.patch"; GROUPER_VERSION_NUMBER is one number for
   comparisons in the preprocessor and at run time, major * 1000000 +
   minor * 1000 + patch, so that 1.1.0 is 1001000 and 1.12.3 would be 1012003
   (minor and patch stay below 1000). */
#define GROUPER_VERSION_MAJOR 1
#define GROUPER_VERSION_MINOR 2
#define GROUPER_VERSION_PATCH 0
#define GROUPER_VERSION_NUMBER \
  (GROUPER_VERSION_MAJOR * 1000000 + GROUPER_VERSION_MINOR * 1000 + GROUPER_VERSION_PATCH)
#define GROUPER_QUOTE_(text) #text
#define GROUPER_EXPAND_AND_QUOTE_(text) GROUPER_QUOTE_(text)
#define GROUPER_VERSION \
  GROUPER_EXPAND_AND_QUOTE_(GROUPER_VERSION_MAJOR.GROUPER_VERSION_MINOR.GROUPER_VERSION_PATCH)

/* The kinds of answer. */
#define GROUPER_KIND_GROUP_CODE 0      /* the record is valid: group_code holds its code */
#define GROUPER_KIND_MESSAGE 1         /* the record breaks a rule: message names the first */
#define GROUPER_KIND_WRONG_DATA_TYPE 2 /* the line's length does not fit its form version */

/* Statuses. */
#define GROUPER_OK 0                        /* done */
#define GROUPER_ERROR_NULL_ARGUMENT (-1)    /* a required pointer was NULL */
#define GROUPER_ERROR_INVALID_ARGUMENT (-2) /* a length, size or number below 0; an unknown flag */
#define GROUPER_ERROR_NO_MEMORY (-3)        /* memory ran out */
#define GROUPER_ERROR_BUFFER_TOO_SMALL (-4) /* a text did not fit its buffer */

/* The longest output line (input text, 32 blanks, message, CR LF), and the
   longest console line, in bytes without the terminating NUL. */
#define GROUPER_MAX_OUTPUT_LINE 2047

typedef struct grouper_result {
  int kind;                  /* one of GROUPER_KIND_* */
  char form_version[4];      /* the line's first three bytes (fewer if shorter), NUL-terminated */
  char group_code[4];        /* "A11".."A73" for GROUPER_KIND_GROUP_CODE, else "" */
  const char *message;       /* code page 949, NUL-terminated, static storage; "" for a code */
  const char *message_utf8;  /* the same message in UTF-8 */
} grouper_result;

/*
 * How the batch cuts its input into lines: the length of the read that
 * starts at `buffer`, which holds the next `length` bytes of the input. A
 * read takes the bytes up to and including the first line feed, but at most
 * 1023 of them: a longer physical line goes on in the next read and is a
 * line of its own (a NUL byte does not end a read). Hand each read to
 * grouper_group_line and step over it; the n-th read is the n-th line of the
 * batch's result file.
 *
 * Returns a length from 1 to 1023, never more than `length`; 0 only when
 * `length` is 0 (the input is used up) or `buffer` is NULL. A read that
 * neither ends in a line feed nor holds 1023 bytes is the whole of
 * `buffer`: it is the input's last read when `buffer` holds the end of the
 * input. A caller that reads a stream in blocks keeps those bytes, appends
 * the next block and asks again; at the end of the stream they are the last
 * read. Reads nothing past `length` and writes nothing; keeps no pointer
 * to `buffer`, which the caller owns. Any number of threads may call it at
 * once, on the same buffer too.
 */
GROUPER_API size_t GROUPER_CALL grouper_next_read(const char *buffer, size_t length);

/*
 * Groups one line.
 *
 * `line` holds `length` bytes: one line as the batch reads it, with or
 * without its line end. The text ends at its first NUL byte (the bytes after
 * it are ignored) and trailing blanks, CR and LF are trimmed, as the batch
 * does. A line of more than 1023 bytes, which the batch would read in pieces,
 * could never be a record: it is a wrong-data-type line. Nothing is read past
 * `length`, and `line` may be NULL when `length` is 0.
 *
 * A valid record whose code cannot be formed (the form's code tables have no
 * row for it) is a GROUPER_KIND_GROUP_CODE with an empty group_code, as the
 * batch writes it.
 *
 * Returns 0, or GROUPER_ERROR_NULL_ARGUMENT when `result` is NULL (or `line`
 * is NULL with a length); `result` is then left as it was.
 */
GROUPER_API int GROUPER_CALL grouper_group_line(const char *line, size_t length,
                                              grouper_result *result);

/*
 * The result-file line of that line (the trimmed text, the code at its column
 * or the message after it, and CR LF), as the batch writes it. `line` and
 * `length` are those given to grouper_group_line, and `result` its answer.
 *
 * Like snprintf: returns the length of the whole line in bytes (without a
 * terminating NUL); writes at most `size` bytes into `buffer`, the line (cut
 * short when it does not fit) followed by a NUL, and nothing past `size`.
 * With `size` 0, `buffer` may be NULL and nothing is written. Returns 0 when
 * `result` is NULL or holds no valid kind.
 */
GROUPER_API size_t GROUPER_CALL grouper_format_output_line(const char *line, size_t length,
                                                           const grouper_result *result,
                                                           char *buffer, size_t size);

/*
 * The console line that the batch prints for input line `line_number` (the
 * first line is 1), line feed included, likewise.
 */
GROUPER_API size_t GROUPER_CALL grouper_format_console_line(unsigned long long line_number,
                                                            const grouper_result *result,
                                                            char *buffer, size_t size);

/* Flags of grouper_explain_json. */
#define GROUPER_EXPLAIN_SHOW_IDENTIFIERS 1 /* the identifiers whole, not masked */

/*
 * Why the line gets its answer, as one JSON object in UTF-8 (no line end):
 * the answer as grouper_group_line gives it, every fault of a rejected
 * record in form order (the first is the answer's message), or the scores,
 * the criterion code of each criteria set and the group letter of a grouped
 * record. The keys are those of the program grouper-explain with --json (see
 * its documentation); "line" is null. Besides the answer:
 *   "layout"      the layout the line was judged by: "089/010", "090/011",
 *                 "091/012", "092/013" or "base" (also for a wrong data type);
 *   each fault's "columns"  [start, width] of its "field" in the line (bytes
 *                 from 0), null when "field" is null; and "fields", every
 *                 record field the rule read: {"name", "item_code", "label",
 *                 "columns", "value"}, the field's item code and name on the
 *                 form (UTF-8) and its value as written in the line; each
 *                 fault also has "item_code" and "label" of its "field";
 *   "decided_by"  for a grouped record, per criteria set whose criterion
 *                 decided it ("A".."F"), what that criterion tested: record
 *                 fields as above, or scores ("adl_score", ...) with
 *                 "item_code", "label" and "columns" null and a number as
 *                 "value"; {} otherwise.
 * The identifiers (patient name, resident number, the signers' names) are
 * masked unless `flags` holds GROUPER_EXPLAIN_SHOW_IDENTIFIERS, wherever they
 * appear. Any bytes give valid UTF-8 and valid JSON.
 *
 * Like snprintf, as grouper_format_output_line. Returns 0 (and writes an
 * empty text) when `line` is NULL with a length, or when memory runs out.
 */
GROUPER_API size_t GROUPER_CALL grouper_explain_json(const char *line, size_t length, int flags,
                                                     char *buffer, size_t size);

/*
 * grouper_explain_json with a status: the same JSON text for the `length`
 * bytes of `line` (which may be NULL when `length` is 0), written into
 * `buffer` (`size` bytes) whole or not at all, its length in bytes into
 * *json_length, as "Calls of plain integers and bytes" above says.
 *
 * Returns GROUPER_OK; GROUPER_ERROR_BUFFER_TOO_SMALL when the text and its NUL
 * do not fit in `size` bytes; GROUPER_ERROR_NO_MEMORY when memory runs out
 * (*json_length is then 0); GROUPER_ERROR_NULL_ARGUMENT when `line` is NULL
 * with a length or `buffer` NULL with a size; GROUPER_ERROR_INVALID_ARGUMENT
 * when `length` or `size` is negative or `flags` holds a bit that is not a
 * GROUPER_EXPLAIN_* flag.
 */
GROUPER_API int GROUPER_CALL grouper_explain_json_into(const char *line, int length, int flags,
                                                       char *buffer, int size, int *json_length);

/*
 * Groups one line and gives its answer, its result-file line and its console
 * line at once, through ints and byte buffers only: what grouper_group_line,
 * grouper_format_output_line and grouper_format_console_line give, to the
 * byte.
 *
 * In:  `line`, `length`   the line's bytes, as for grouper_group_line
 *                         (`line` may be NULL when `length` is 0);
 *      `line_number`      the input line's number for the console line (the
 *                         first is 1; 0 or more).
 * Out: *kind              one of GROUPER_KIND_* (unless `kind` is NULL);
 *      `code`             "A11".."A73" for GROUPER_KIND_GROUP_CODE, else ""
 *                         (4 bytes hold it);
 *      `message`          the message, code page 949, "" for a code;
 *      `output_line`      the result-file line, CR LF included;
 *      `console_line`     the console line, line feed included;
 * each text with its buffer's size and its length out-parameter, written
 * whole or not at all as "Calls of plain integers and bytes" above says.
 * The texts are code page 949 bytes, NUL-terminated.
 *
 * Returns GROUPER_OK; GROUPER_ERROR_BUFFER_TOO_SMALL when a text does not fit
 * (*kind and the lengths are given, every buffer asked for holds "");
 * GROUPER_ERROR_NULL_ARGUMENT when `line` is NULL with a length or a buffer
 * NULL with a size; GROUPER_ERROR_INVALID_ARGUMENT when a length, size or
 * `line_number` is negative. A bad argument writes nothing.
 *
 * From Visual Basic 6 (a 32-bit program: it loads the grouper.dll built for
 * 32-bit Windows, see GROUPER_CALL), with byte arrays, which pass the bytes
 * unchanged (a String passed ByVal is converted by the system's ANSI code
 * page, which is 949 only on a Korean Windows):
 *
 *   Declare Function grouper_group_line_into Lib "grouper.dll" ( _
 *       ByRef line As Byte, ByVal length As Long, ByVal lineNumber As Long, _
 *       ByRef kind As Long, _
 *       ByRef code As Byte, ByVal codeSize As Long, ByRef codeLength As Long, _
 *       ByRef message As Byte, ByVal messageSize As Long, ByRef messageLength As Long, _
 *       ByRef outputLine As Byte, ByVal outputSize As Long, ByRef outputLength As Long, _
 *       ByRef consoleLine As Byte, ByVal consoleSize As Long, _
 *       ByRef consoleLength As Long) As Long
 *
 *   Dim code(3) As Byte, message(2047) As Byte, outputLine(2047) As Byte
 *   Dim consoleLine(2047) As Byte
 *   status = grouper_group_line_into(lineBytes(0), UBound(lineBytes) + 1, n, kind, _
 *       code(0), 4, codeLength, message(0), 2048, messageLength, _
 *       outputLine(0), 2048, outputLength, consoleLine(0), 2048, consoleLength)
 *
 * Then status is GROUPER_OK (0), and the first outputLength bytes of
 * outputLine() are the line that the batch writes to its result file.
 */
GROUPER_API int GROUPER_CALL grouper_group_line_into(const char *line, int length,
                                                     int line_number, int *kind, char *code,
                                                     int code_size, int *code_length,
                                                     char *message, int message_size,
                                                     int *message_length, char *output_line,
                                                     int output_size, int *output_length,
                                                     char *console_line, int console_size,
                                                     int *console_length);

/*
 * The input layout by which the line of `result` was judged, named by its
 * family of form versions: "089/010", "090/011", "091/012", "092/013", or
 * "base" for a line whose first three bytes are none of the eight codes (a
 * base-layout line starts with its institution code). A static string; ""
 * when `result` is NULL.
 */
GROUPER_API const char *GROUPER_CALL grouper_layout(const grouper_result *result);

/* The batch's failures on a file, for grouper_console_error_text. */
#define GROUPER_CONSOLE_INPUT_OPEN 0   /* the input file cannot be opened */
#define GROUPER_CONSOLE_OUTPUT_OPEN 1  /* the result file cannot be opened or made */
#define GROUPER_CONSOLE_OUTPUT_WRITE 2 /* the result file cannot be written or closed */
#define GROUPER_CONSOLE_INPUT_READ 3   /* the input file cannot be read to its end */

/*
 * The text with which the batch's console line for failure `kind` (one of
 * GROUPER_CONSOLE_*) starts, "INPUT File Open Error - " for
 * GROUPER_CONSOLE_INPUT_OPEN and so on: the batch prints it, the file's name
 * and a line feed, and stops with exit status 1. A program that stands in for
 * the batch prints the same line. ASCII, a static string; "" for any other
 * `kind`.
 */
GROUPER_API const char *GROUPER_CALL grouper_console_error_text(int kind);

/* The library's version, GROUPER_VERSION; a static string. */
GROUPER_API const char *GROUPER_CALL grouper_version(void);

/*
 * The library's version number, the GROUPER_VERSION_NUMBER that it was built
 * with. A program compares it with the GROUPER_VERSION_NUMBER of the header
 * it was compiled with to find, at run time, a library older than its header.
 */
GROUPER_API int GROUPER_CALL grouper_version_number(void);

#ifdef __cplusplus
}
#endif

#endif /* GROUPER_GROUPER_H */
