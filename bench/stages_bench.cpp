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
#include "grouper/grouper.h"
#include "line/group_line.h"
#include "line/line_output.h"
#include "record/form_version.h"
#include "record/record_parser.h"
#include "sample_generator.h"
#include "validate/record_validator.h"

namespace grouper {
namespace {

constexpr int kCorpusSize = 4096;  // a power of two: the index wraps with a mask

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
  LineBuffer buffer;
  AssessmentRecord record;
  ClassificationState classification;
  while (static_cast<int>(corpus.lines.size()) < kCorpusSize) {
    const std::string text = sample::NextSampleLine(gen).text;
    corpus.lines.push_back(text);
    const LineText line = TakeLine(text.data(), text.size(), buffer);
    if (!line.framed || ParseRecord(line.text, line.family, record) != nullptr) continue;
    if (ValidateRecord(record, line.family) != nullptr) continue;
    ClassifyRecord(record, line.family, classification);
    corpus.parsed.push_back(record);
    corpus.codes.push_back(classification.group_code);
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
  LineBuffer buffer;
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string& text = corpus.lines[i++ & (kCorpusSize - 1)];
    const LineText line = TakeLine(text.data(), text.size(), buffer);
    benchmark::DoNotOptimize(ParseRecord(line.text, line.family, record));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Parse);

void BM_Validate(benchmark::State& state) {
  // The validator's only change to a record, the blanks removed from the
  // names, leaves it valid, so every record can be validated again.
  std::vector<AssessmentRecord> records = Valid().parsed;
  std::size_t i = 0;
  for (auto _ : state) {
    AssessmentRecord& record = records[i++ % records.size()];
    benchmark::DoNotOptimize(ValidateRecord(record, FamilyOfField(record.form_version)));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Validate);

void BM_Classify(benchmark::State& state) {
  std::vector<AssessmentRecord> records = Valid().parsed;
  ClassificationState classification;
  std::size_t i = 0;
  for (auto _ : state) {
    const AssessmentRecord& record = records[i++ % records.size()];
    ClassifyRecord(record, FamilyOfField(record.form_version), classification);
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
  auto buffer = std::make_unique<LineBuffer>();
  auto work = std::make_unique<GroupingWork>();
  LineAnswer answer;
  char out[kMaxComposedLine];
  char console[kMaxComposedLine];
  uint64_t line_number = 0;
  std::size_t i = 0;
  for (auto _ : state) {
    const std::string& text = corpus.lines[i++ & (kCorpusSize - 1)];
    const LineText line = GroupLine(text.data(), text.size(), *buffer, *work, answer);
    benchmark::DoNotOptimize(ComposeOutputLine(line.text, answer, out));
    benchmark::DoNotOptimize(ComposeConsoleLine(++line_number, answer, console));
    benchmark::ClobberMemory();
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
