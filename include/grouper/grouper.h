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
 * Thread safety. The library has no mutable process-wide state that a call
 * could race on: every function may be called from any number of threads at
 * once, each call working on its own arguments (a result structure must not
 * be shared by threads that write it). No lock is taken.
 *
 * Time zone. The date rules of the form compare each date's local midnight in
 * the process's time zone. Each calendar date is converted once per process,
 * the first time any call checks it, and kept: set the zone (the TZ variable,
 * "Asia/Seoul" or, for the Windows C runtime, "KST-9") before the first call;
 * a later change is not seen for dates already converted.
 *
 * Errors. Functions that can fail return 0 or a negative GROUPER_ERROR_*
 * value; no C++ exception ever leaves the library.
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

#ifdef __cplusplus
extern "C" {
#endif

/* The library's version as text, and as one number for comparisons in the
   preprocessor and at run time: major * 1000000 + minor * 1000 + patch, so
   that 1.1.0 is 1001000 and 1.12.3 would be 1012003 (minor and patch stay
   below 1000). Both change with every release, together. */
#define GROUPER_VERSION "1.1.0"
#define GROUPER_VERSION_NUMBER 1001000

/* The kinds of answer. */
#define GROUPER_KIND_GROUP_CODE 0      /* the record is valid: group_code holds its code */
#define GROUPER_KIND_MESSAGE 1         /* the record breaks a rule: message names the first */
#define GROUPER_KIND_WRONG_DATA_TYPE 2 /* the line's length does not fit its form version */

/* Errors. */
#define GROUPER_ERROR_NULL_ARGUMENT (-1) /* a required pointer was NULL */

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
GROUPER_API size_t grouper_next_read(const char *buffer, size_t length);

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
GROUPER_API int grouper_group_line(const char *line, size_t length, grouper_result *result);

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
GROUPER_API size_t grouper_format_output_line(const char *line, size_t length,
                                              const grouper_result *result, char *buffer,
                                              size_t size);

/*
 * The console line that the batch prints for input line `line_number` (the
 * first line is 1), line feed included, likewise.
 */
GROUPER_API size_t grouper_format_console_line(unsigned long long line_number,
                                               const grouper_result *result, char *buffer,
                                               size_t size);

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
 *                 record field the rule read: {"name", "columns", "value"},
 *                 the value as written in the line;
 *   "decided_by"  for a grouped record, per criteria set whose criterion
 *                 decided it ("A".."F"), what that criterion tested: record
 *                 fields as above, or scores ("adl_score", ...) with
 *                 "columns" null and a number as "value"; {} otherwise.
 * The identifiers (patient name, resident number, the signers' names) are
 * masked unless `flags` holds GROUPER_EXPLAIN_SHOW_IDENTIFIERS, wherever they
 * appear. Any bytes give valid UTF-8 and valid JSON.
 *
 * Like snprintf, as grouper_format_output_line. Returns 0 (and writes an
 * empty text) when `line` is NULL with a length, or when memory runs out.
 */
GROUPER_API size_t grouper_explain_json(const char *line, size_t length, int flags, char *buffer,
                                        size_t size);

/*
 * The input layout by which the line of `result` was judged, named by its
 * family of form versions: "089/010", "090/011", "091/012", "092/013", or
 * "base" for a line whose first three bytes are none of the eight codes (a
 * base-layout line starts with its institution code). A static string; ""
 * when `result` is NULL.
 */
GROUPER_API const char *grouper_layout(const grouper_result *result);

/* The library's version, GROUPER_VERSION; a static string. */
GROUPER_API const char *grouper_version(void);

/*
 * The library's version number, the GROUPER_VERSION_NUMBER that it was built
 * with. A program compares it with the GROUPER_VERSION_NUMBER of the header
 * it was compiled with to find, at run time, a library older than its header.
 */
GROUPER_API int grouper_version_number(void);

#ifdef __cplusplus
}
#endif

#endif /* GROUPER_GROUPER_H */
