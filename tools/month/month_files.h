// Where grouper-month puts what it makes of a month's file, and how each file
// gets there whole.
//
// For an input "<dir>/<stem>.<ext>" the products go in the folder
// "<dir>/<stem>_grouper": "<stem>.out" (the result file), "<stem>.csv" (the
// explanation table) and "<stem>.html" (the report page). A name without an
// extension is its own stem, and so is one whose only dot is its first
// character (".month"). Each product is written under a temporary name in
// that folder ("<stem>.out.tmp") and renamed over the product's name once it
// is whole, so that a product is always the old file or the new one, and a
// run that fails leaves no temporary file behind.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace grouper::month {

// The products, in the order in which they are made.
enum Product { kResult, kExplanation, kReport, kProducts };

// The input's file name without its last extension.
std::string Stem(std::string_view input);

// The folder beside the input that holds its products ("<dir>/<stem>_grouper").
std::string FolderBeside(std::string_view input);

// The path of each product of `stem` in `folder`.
std::array<std::string, kProducts> ProductPaths(const std::string& folder, const std::string& stem);

// A product on its way: written to a temporary file beside its name.
class PendingFile {
 public:
  PendingFile() = default;
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  // Removes a temporary file that was never renamed.
  ~PendingFile();

  // Creates the temporary file of `path` (truncating an old one); false with
  // errno saying why.
  bool Open(const std::string& path);
  // The temporary file, open for writing.
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }

  // Closes the temporary file; then 0, or the system's reason (errno) when
  // closing failed.
  int Close();
  // Renames the closed temporary file over the product's name: 0, or errno.
  int Replace();

 private:
  std::string path_;
  std::string temporary_;
  int fd_ = -1;
  bool pending_ = false;  // a temporary file is there to rename or remove
};

}  // namespace grouper::month
