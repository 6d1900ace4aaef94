// The WebAssembly module's own entry points, beside the C interface of
// grouper.h, which the module exports as it is: whole files run through the
// batch's RunBatch and grouper-month's product makers on the module's memory
// file system, and the explanation's JSON with its line number. The package's
// JavaScript (grouper.mjs) puts the bytes into files and takes them out; no
// rule of the form is written twice.
#include <emscripten/emscripten.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <string>

#include "batch/batch_run.h"
#include "explain/explanation.h"
#include "explain/explanation_csv.h"
#include "explain_table.h"
#include "grouper/grouper.h"
#include "month_files.h"
#include "month_products.h"
#include "platform/platform.h"
#include "platform/replace_file.h"
#include "platform/wasm_runtime.h"
#include "util/stream_output.h"

using namespace grouper;

extern "C" {

// The JSON of grouper-explain --json for the `length` bytes at `line`, its
// "line" the number `line_number` (null when negative), in a buffer of
// malloc's that the caller frees, its length in *json_length; NULL when
// memory runs out.
EMSCRIPTEN_KEEPALIVE char* grouper_wasm_explain_json(const char* line, size_t length, int flags,
                                                     double line_number, size_t* json_length) {
  try {
    ExplainOptions options;
    options.show_identifiers = (flags & GROUPER_EXPLAIN_SHOW_IDENTIFIERS) != 0;
    if (line_number >= 0) options.line_number = static_cast<uint64_t>(line_number);
    const std::string json = ExplanationJson(ExplainLine(line, length), options);
    char* copy = static_cast<char*>(std::malloc(json.size() + 1));
    if (copy == nullptr) return nullptr;
    std::memcpy(copy, json.data(), json.size() + 1);
    *json_length = json.size();
    return copy;
  } catch (...) {
    return nullptr;
  }
}

// The batch `grouper INPUT RESULT` run on files of the module's file system,
// its standard output written to CONSOLE and its standard error (the notes
// on a wrong file) to ERRORS. Gives the batch's exit status, or -1 when the
// standard streams could not be redirected, -2 when memory ran out.
EMSCRIPTEN_KEEPALIVE int grouper_wasm_group_file(const char* input, const char* result,
                                                 const char* console, const char* errors) {
  try {
    return platform::WithStandardStreams(console, errors, [&] {
      char program[] = "grouper";
      std::string in(input), out(result);
      char* argv[] = {program, in.data(), out.data(), nullptr};
      return RunBatch(3, argv);
    });
  } catch (const std::bad_alloc&) {
    return -2;
  }
}

// The table of grouper-explain --csv (`korean` 0) or --csv-ko (1) of INPUT,
// written to OUTPUT by the tool's own row maker, every line picked. 0, or the
// system's reason (errno) of the read or write that failed.
EMSCRIPTEN_KEEPALIVE int grouper_wasm_table(const char* input, const char* output, int korean) {
  try {
    const CsvTable table = korean != 0 ? CsvTable::kKorean : CsvTable::kEnglish;
    const int input_fd = platform::OpenInput(input);
    if (input_fd < 0) return errno != 0 ? errno : EIO;
    std::FILE* file = std::fopen(output, "wb");
    if (file == nullptr) {
      const int error = errno != 0 ? errno : EIO;
      platform::Close(input_fd);
      return error;
    }
    StreamOutput out(file);
    InputWarnings warnings;
    int error = out.Write(CsvHeader(table)) ? 0 : out.error();
    if (error == 0) {
      const explain_tool::TableEnd ended = explain_tool::WriteTableRows(
          input_fd, out, {}, table, [](uint64_t) { return true; }, warnings,
          [](const char*) {});  // the signs of a wrong file are groupFile's to say
      error = ended.read_error != 0 ? ended.read_error : ended.written ? 0 : out.error();
    }
    if (!out.Flush() && error == 0) error = out.error();
    if (std::fclose(file) != 0 && error == 0) error = errno != 0 ? errno : EIO;
    platform::Close(input_fd);
    return error;
  } catch (const std::bad_alloc&) {
    return ENOMEM;
  }
}

// grouper-month's products of INPUT: the result file, the explanation table
// (grouper-month's, as grouper-explain --csv-ko writes it) and the report
// page, which names the file `name` and the time `generated` (seconds after
// the epoch). 0, or the system's reason (errno) of the first product that
// failed. They are made by grouper-month's own product makers.
EMSCRIPTEN_KEEPALIVE int grouper_wasm_month(const char* input, const char* result,
                                            const char* table, const char* page, const char* name,
                                            double generated) {
  // The C library's time is 32 bits wide here.
  if (!(generated >= 0 && generated <= 2147483647.0)) return EOVERFLOW;
  try {
    const int input_fd = platform::OpenInput(input);
    if (input_fd < 0) return errno != 0 ? errno : EIO;
    platform::ReplacementFile result_file, table_file;
    int error = result_file.Create(result);
    if (error == 0) error = table_file.Create(table);
    report::ReportFile facts;
    uint64_t lines = 0;
    if (error == 0) {
      for (const month::PassResult& ended :
           month::WriteResultAndTable(input_fd, result_file, table_file, lines, facts)) {
        if (error == 0) error = ended.error;
      }
    }
    platform::Close(input_fd);
    for (platform::ReplacementFile* file : {&result_file, &table_file}) {
      if (error == 0) error = file->Finish();
      if (error == 0) error = file->Commit();
    }
    if (error != 0) return error;
    const int page_fd = platform::OpenOutput(page);
    if (page_fd < 0) return errno != 0 ? errno : EIO;
    error = month::WriteReportPage(facts, name, static_cast<std::time_t>(generated), page_fd).error;
    if (!platform::Close(page_fd) && error == 0) error = EIO;
    return error;
  } catch (const std::bad_alloc&) {
    return ENOMEM;
  }
}

// The names grouper-month gives the products of a file named `name` (UTF-8,
// a path or a bare name): the result file, the explanation table and the
// report page, each ending in NUL, one after another in a buffer of malloc's
// that the caller frees; NULL when memory runs out. A page that offers the
// products to save names them so.
EMSCRIPTEN_KEEPALIVE char* grouper_wasm_product_names(const char* name) {
  try {
    // The products' paths in an empty folder: the separator, then the name.
    std::string names;
    for (const std::string& path : month::ProductPaths(std::string(), month::Stem(name))) {
      names.append(path, 1);
      names.push_back('\0');
    }
    char* copy = static_cast<char*>(std::malloc(names.size()));
    if (copy != nullptr) std::memcpy(copy, names.data(), names.size());
    return copy;
  } catch (...) {
    return nullptr;
  }
}

}  // extern "C"
