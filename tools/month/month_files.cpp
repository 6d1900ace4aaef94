#include "month_files.h"

#include <cerrno>

#include "platform/platform.h"

namespace grouper::month {

std::string Stem(std::string_view input) {
  const std::string_view name = platform::FileNamePart(input);
  const std::size_t dot = name.rfind('.');
  return std::string(dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot));
}

std::string FolderBeside(std::string_view input) {
  const std::string_view name = platform::FileNamePart(input);
  return std::string(input.substr(0, input.size() - name.size())) + Stem(input) + "_grouper";
}

std::array<std::string, kProducts> ProductPaths(const std::string& folder,
                                                const std::string& stem) {
  const std::string base = folder + platform::kPathSeparator + stem;
  return {base + ".out", base + ".csv", base + ".html"};
}

PendingFile::~PendingFile() {
  if (fd_ >= 0) platform::Close(fd_);
  if (pending_) platform::RemoveRegularFile(temporary_.c_str());
}

bool PendingFile::Open(const std::string& path) {
  path_ = path;
  temporary_ = path + ".tmp";
  fd_ = platform::OpenOutput(temporary_.c_str());
  pending_ = fd_ >= 0;
  return pending_;
}

int PendingFile::Close() {
  const bool closed = platform::Close(fd_);
  fd_ = -1;
  return closed ? 0 : (errno != 0 ? errno : EIO);
}

int PendingFile::Replace() {
  if (!platform::RenameOver(temporary_.c_str(), path_.c_str())) return errno != 0 ? errno : EIO;
  pending_ = false;
  return 0;
}

}  // namespace grouper::month
