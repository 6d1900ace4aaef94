#include "support/program_runner.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace grouper::testing {

std::string MakeTempDir() {
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path dir = base / ("grouper-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(dir)) return dir.generic_string();
  }
  throw std::runtime_error("cannot create a temporary directory");
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string ReadAll(std::FILE* f) {
  std::string text;
  std::rewind(f);
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
  std::fclose(f);
  return text;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

ProgramRun RunGrouper(const std::string& directory, const std::vector<std::string>& arguments,
                      const std::string& stdin_bytes) {
  const Outcome outcome = Start(directory, {.args = arguments, .stdin_bytes = stdin_bytes});
  return {outcome.status, outcome.console};
}

std::vector<std::string> SplitCrLf(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) break;
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

void ProgramTest::SetUp() {
  dir_ = MakeTempDir();
}

void ProgramTest::TearDown() {
  std::filesystem::remove_all(dir_);
}

}  // namespace grouper::testing
