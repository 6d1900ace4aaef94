// Microbenchmarks of the stages of one input line: parse, validate,
// classify, compose the output and console lines, and the whole road of a
// line as the batch run takes it. The records come from the sample
// generator: every form version, drawn for every criterion, so that each
// stage meets the mix of branches of a real file.
//
// Run: build/bench/bench/stage_benchmarks [--benchmark_repetitions=5]
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "classify/classifier.h"
#include "driver/line_output.h"
#include "driver/line_processor.h"
#include "grouper/grouper.h"
#include "record/form_version.h"
#include "record/record_parser.h"
#include "sample_generator.h"
#include "validate/record_validator.h"

namespace grouper {
namespace {

constexpr int kCorpusSize = 4096;  // a power of two: the index wraps with a mask

// The parser reads every item at its fixed column, so the bytes after the
// text must be zero through the longest layout.
constexpr std::size_t kParseSpan = 560;

struct Corpus {
  std::vector<std::string> lines;        // as in the file, trailing blanks included
  std::vector<AssessmentRecord> parsed;  // of the valid lines, after parsing
  std::vector<std::string> codes;        // their group codes
};

Corpus MakeCorpus(uint32_t fault_share) {
  sample::SampleOptions options;
  options.seed = 1;
  options.fault_share = fault_share;
  sample::SampleGenerator gen = sample::StartSample(options);
  Corpus corpus;
  char line[1024];
  char error_text[1024];
  AssessmentRecord record;
  while (static_cast<int>(corpus.lines.size()) < kCorpusSize) {
    const std::string text = sample::NextSampleLine(gen).text;
    corpus.lines.push_back(text);
    std::memset(line, 0, sizeof line);
    std::memcpy(line, text.data(), text.size());
    SetCurrentRecord(&record);
    if (RecordParser(line, error_text) != 1) continue;
    const AssessmentRecord parsed = record;
    if (RecordValidator(error_text) != 1) continue;
    char code[4] = {};
    classify_record(code);
    corpus.parsed.push_back(parsed);
    corpus.codes.push_back(code);
  }
  return corpus;
}

const Corpus& Valid() {
  static const Corpus corpus = MakeCorpus(0);
  return corpus;
}
const Corpus& TenPercentFaults() {
  static const Corpus corpus = MakeCorpus(sample::kShareScale / 10);
  return corpus;
}

void BM_Parse(benchmark::State& state) {
  const Corpus& corpus = Valid();
  AssessmentRecord record;
  char line[1024] = {};
  char error_text[1024];
  SetCurrentRecord(&record);
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string& text = corpus.lines[i++ & (kCorpusSize - 1)];
    std::memcpy(line, text.data(), text.size());
    std::memset(line + text.size(), 0, kParseSpan - text.size());
    benchmark::DoNotOptimize(RecordParser(line, error_text));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Parse);

void BM_Validate(benchmark::State& state) {
  // The validator's only change to a record, the blanks removed from the
  // names, leaves it valid, so every record can be validated again.
  std::vector<AssessmentRecord> records = Valid().parsed;
  char error_text[1024];
  std::size_t i = 0;
  for (auto _ : state) {
    SetCurrentRecord(&records[i++ % records.size()]);
    benchmark::DoNotOptimize(RecordValidator(error_text));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Validate);

void BM_Classify(benchmark::State& state) {
  std::vector<AssessmentRecord> records = Valid().parsed;
  char code[4];
  std::size_t i = 0;
  for (auto _ : state) {
    SetCurrentRecord(&records[i++ % records.size()]);
    benchmark::DoNotOptimize(classify_record(code));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Classify);

void BM_ComposeOutputAndConsoleLines(benchmark::State& state) {
  const Corpus& corpus = Valid();
  std::vector<int> columns;
  for (const std::string& line : corpus.lines) {
    columns.push_back(InfoOf(FamilyOf(line.substr(0, 3))).code_column);
  }
  char out[kMaxComposedLine];
  char console[kMaxComposedLine];
  std::size_t i = 0;
  int64_t line_number = 0;
  for (auto _ : state) {
    const std::size_t k = i++ % corpus.codes.size();
    const std::string& line = corpus.lines[k];
    benchmark::DoNotOptimize(
        ComposeCodeLine(line.data(), line.size(), columns[k], corpus.codes[k].c_str(), out));
    benchmark::DoNotOptimize(ComposeConsoleCode(++line_number, corpus.codes[k].c_str(), console));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComposeOutputAndConsoleLines);

// The whole road of one line, as the batch run takes it after reading.
void ProcessLines(benchmark::State& state, const Corpus& corpus) {
  auto processor = std::make_unique<LineProcessor>();
  LineProcessor& p = *processor;
  ResetLineProcessor(p);
  std::size_t previous = 0;
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string& text = corpus.lines[i++ & (kCorpusSize - 1)];
    std::memset(p.line, 0, previous);
    std::memcpy(p.line, text.data(), text.size());
    previous = text.size();
    ProcessLine(p, text.size());
    benchmark::DoNotOptimize(p.output_length);
  }
  state.SetItemsProcessed(state.iterations());
}
void BM_ProcessLine(benchmark::State& state) {
  ProcessLines(state, Valid());
}
BENCHMARK(BM_ProcessLine);
void BM_ProcessLineTenPercentFaults(benchmark::State& state) {
  ProcessLines(state, TenPercentFaults());
}
BENCHMARK(BM_ProcessLineTenPercentFaults);

// One call of the library's C interface per line, as a record system makes it:
// the line with its text and length, the answer in the caller's structure.
void BM_GroupLineCall(benchmark::State& state) {
  const Corpus& corpus = TenPercentFaults();
  grouper_result result;
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string& text = corpus.lines[i++ & (kCorpusSize - 1)];
    benchmark::DoNotOptimize(grouper_group_line(text.data(), text.size(), &result));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GroupLineCall);

}  // namespace
}  // namespace grouper

BENCHMARK_MAIN();
