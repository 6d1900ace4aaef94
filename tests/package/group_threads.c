/*
 * group_threads IN OUT [CONSOLE]: answers every line of IN through the
 * installed libgrouper from four threads at once and writes the result-file
 * lines to OUT (and the console lines, after the batch's opening line feed,
 * to CONSOLE) in input order, so that both can be compared byte for byte with
 * what the batch program writes for IN.
 *
 * IN is cut into lines as the batch reads it, as the library says
 * (grouper_next_read). Thread t answers lines t, t + 4, t + 8, ... Each
 * line is answered twice, through grouper_result and through
 * grouper_group_line_into, which must give the same bytes.
 *
 * Built with GROUPER_LOAD_BY_NAME (Windows), it links no import library: it
 * loads grouper.dll with LoadLibrary, finds each function by its plain name
 * with GetProcAddress and calls it through its own declaration, __stdcall,
 * as a program in Visual Basic 6 or Delphi does on 32-bit Windows (a 64-bit
 * compiler ignores the keyword: there is one convention).
 */
#define _POSIX_C_SOURCE 200809L

#include <grouper/grouper.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef GROUPER_LOAD_BY_NAME
#include <windows.h>

static size_t(__stdcall *next_read)(const char *, size_t);
static int(__stdcall *group_line)(const char *, size_t, grouper_result *);
static size_t(__stdcall *format_output_line)(const char *, size_t, const grouper_result *, char *,
                                             size_t);
static size_t(__stdcall *format_console_line)(unsigned long long, const grouper_result *, char *,
                                              size_t);
static int(__stdcall *group_line_into)(const char *, int, int, int *, char *, int, int *, char *,
                                       int, int *, char *, int, int *, char *, int, int *);
static const char *(__stdcall *version)(void);
#define grouper_next_read next_read
#define grouper_group_line group_line
#define grouper_format_output_line format_output_line
#define grouper_format_console_line format_console_line
#define grouper_group_line_into group_line_into
#define grouper_version version

/* Whether grouper.dll was found and each function in it by its plain name. */
static int load_library(void) {
  HMODULE dll = LoadLibraryA("grouper.dll");
#define FIND(pointer, name) \
  ((pointer = (__typeof__(pointer))(void (*)(void))GetProcAddress(dll, name)) != NULL)
  return dll != NULL && FIND(next_read, "grouper_next_read") &&
         FIND(group_line, "grouper_group_line") &&
         FIND(format_output_line, "grouper_format_output_line") &&
         FIND(format_console_line, "grouper_format_console_line") &&
         FIND(group_line_into, "grouper_group_line_into") && FIND(version, "grouper_version");
#undef FIND
}
#else
static int load_library(void) {
  return 1;
}
#endif

#define THREADS 4

typedef struct {
  const char *line;
  size_t length;
  char *output; /* the formatted lines, allocated */
  size_t output_length;
  char *console;
  size_t console_length;
} line_answer;

typedef struct {
  line_answer *lines;
  size_t count;
  size_t first;
  int failed;
} worker;

/* A copy of a formatted line, which GROUPER_MAX_OUTPUT_LINE + 1 bytes hold
   whole; NULL when it did not fit. */
static char *copy_line(const char *buffer, size_t length) {
  char *copy = length > 0 && length <= GROUPER_MAX_OUTPUT_LINE ? malloc(length) : NULL;
  if (copy != NULL) memcpy(copy, buffer, length);
  return copy;
}

/* Whether grouper_group_line_into gives line `a` (line `number` of IN) the
   answer and the lines that the calls with a grouper_result gave. */
static int same_through_into(const line_answer *a, int number, const grouper_result *result) {
  char code[4], message[GROUPER_MAX_OUTPUT_LINE + 1], output[GROUPER_MAX_OUTPUT_LINE + 1],
      console[GROUPER_MAX_OUTPUT_LINE + 1];
  int kind, code_length, message_length, output_length, console_length;
  if (grouper_group_line_into(a->line, (int)a->length, number, &kind, code, (int)sizeof code,
                              &code_length, message, (int)sizeof message, &message_length,
                              output, (int)sizeof output, &output_length, console,
                              (int)sizeof console, &console_length) != GROUPER_OK) {
    return 0;
  }
  return kind == result->kind && strcmp(code, result->group_code) == 0 &&
         strcmp(message, result->message) == 0 && (size_t)output_length == a->output_length &&
         memcmp(output, a->output, a->output_length) == 0 &&
         (size_t)console_length == a->console_length &&
         memcmp(console, a->console, a->console_length) == 0;
}

static void *work(void *arg) {
  worker *w = arg;
  size_t i;
  for (i = w->first; i < w->count; i += THREADS) {
    line_answer *a = &w->lines[i];
    grouper_result result;
    char buffer[GROUPER_MAX_OUTPUT_LINE + 1];
    if (grouper_group_line(a->line, a->length, &result) != 0) {
      w->failed = 1;
      break;
    }
    a->output_length =
        grouper_format_output_line(a->line, a->length, &result, buffer, sizeof buffer);
    a->output = copy_line(buffer, a->output_length);
    a->console_length = grouper_format_console_line(i + 1, &result, buffer, sizeof buffer);
    a->console = copy_line(buffer, a->console_length);
    if (a->output == NULL || a->console == NULL || !same_through_into(a, (int)(i + 1), &result)) {
      w->failed = 1;
      break;
    }
  }
  return NULL;
}

static char *read_file(const char *name, size_t *size) {
  FILE *f = fopen(name, "rb");
  char *data = NULL;
  long end;
  if (f == NULL) return NULL;
  if (fseek(f, 0, SEEK_END) == 0 && (end = ftell(f)) >= 0 && fseek(f, 0, SEEK_SET) == 0) {
    *size = (size_t)end;
    data = malloc(*size + 1);
    if (data != NULL && fread(data, 1, *size, f) != *size) {
      free(data);
      data = NULL;
    }
  }
  fclose(f);
  return data;
}

/* The batch's reads, as grouper_next_read cuts them. */
static line_answer *split_lines(const char *data, size_t size, size_t *count) {
  size_t capacity = 1024, at = 0;
  line_answer *lines = malloc(capacity * sizeof *lines);
  *count = 0;
  while (lines != NULL && at < size) {
    const size_t n = grouper_next_read(data + at, size - at);
    if (*count == capacity) {
      line_answer *grown = realloc(lines, 2 * capacity * sizeof *lines);
      if (grown == NULL) {
        free(lines);
        return NULL;
      }
      lines = grown;
      capacity *= 2;
    }
    memset(&lines[*count], 0, sizeof *lines);
    lines[*count].line = data + at;
    lines[*count].length = n;
    ++*count;
    at += n;
  }
  return lines;
}

int main(int argc, char **argv) {
  size_t size, count, i;
  char *data;
  line_answer *lines;
  worker workers[THREADS];
  pthread_t threads[THREADS];
  FILE *out, *console = NULL;
  int status = 0, t;

  if (argc != 3 && argc != 4) {
    fprintf(stderr, "usage: group_threads IN OUT [CONSOLE]\n");
    return 2;
  }
  if (!load_library()) {
    fprintf(stderr, "grouper.dll or one of its functions cannot be found\n");
    return 1;
  }
  data = read_file(argv[1], &size);
  if (data == NULL) {
    fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  lines = split_lines(data, size, &count);
  if (lines == NULL) {
    fprintf(stderr, "out of memory\n");
    return 1;
  }
  for (t = 0; t < THREADS; ++t) {
    workers[t].lines = lines;
    workers[t].count = count;
    workers[t].first = (size_t)t;
    workers[t].failed = 0;
    if (pthread_create(&threads[t], NULL, work, &workers[t]) != 0) {
      fprintf(stderr, "cannot start a thread\n");
      return 1;
    }
  }
  for (t = 0; t < THREADS; ++t) {
    pthread_join(threads[t], NULL);
    if (workers[t].failed) status = 1;
  }
  if (status != 0) {
    fprintf(stderr, "a line could not be answered\n");
    return 1;
  }

  out = fopen(argv[2], "wb");
  if (argc == 4) console = fopen(argv[3], "wb");
  if (out == NULL || (argc == 4 && console == NULL)) {
    fprintf(stderr, "cannot open the output\n");
    return 1;
  }
  if (console != NULL) fputc('\n', console);
  for (i = 0; i < count; ++i) {
    fwrite(lines[i].output, 1, lines[i].output_length, out);
    if (console != NULL) fwrite(lines[i].console, 1, lines[i].console_length, console);
    free(lines[i].output);
    free(lines[i].console);
  }
  if (fclose(out) != 0 || (console != NULL && fclose(console) != 0)) {
    fprintf(stderr, "cannot write the output\n");
    status = 1;
  }
  free(lines);
  free(data);
  printf("%lu lines answered by %d threads with libgrouper %s\n", (unsigned long)count, THREADS,
         grouper_version());
  return status;
}
