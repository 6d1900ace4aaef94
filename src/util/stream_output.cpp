#include "util/stream_output.h"

#include <cerrno>
#include <cstring>
#include <string>

namespace grouper {

namespace {

bool WriteBytes(std::FILE* stream, std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
}

}  // namespace

StreamOutput::StreamOutput(std::FILE* stream, int error, WriteFunction write)
    : stream_(stream), error_(error), write_(write != nullptr ? write : WriteBytes) {}

bool StreamOutput::Failed() {
  error_ = errno != 0 ? errno : EIO;
  return false;
}

bool StreamOutput::Write(std::string_view bytes) {
  if (error_ != 0) return false;
  if (bytes.empty()) return true;
  errno = 0;
  return write_(stream_, bytes) || Failed();
}

bool StreamOutput::Flush() {
  if (error_ != 0) return false;
  errno = 0;
  return std::fflush(stream_) == 0 || Failed();
}

int CannotWrite(std::string_view program, std::string_view what, int error, std::FILE* err) {
  const std::string line = std::string(program) + ": cannot write " + std::string(what) + ": " +
                           std::strerror(error) + "\n";
  std::fputs(line.c_str(), err);
  return 1;
}

}  // namespace grouper
