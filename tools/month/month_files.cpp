#include "month_files.h"

#include <cerrno>
#include <vector>

#include "platform/interrupt.h"
#include "platform/platform.h"

namespace grouper::month {

namespace {

using platform::FileNamePart;

// One file of a set, by its names in the folder: the new file's temporary
// name, the product's, and the second name that keeps the old file.
struct Entry {
  std::string temporary;
  std::string target;
  std::string kept;
};

constexpr std::string_view kJournalHead = "grouper-month journal 1\n";

std::string Joined(const std::string& folder, std::string_view name) {
  return folder + platform::kPathSeparator + std::string(name);
}

// Each name as "<length> <bytes>\n": a name on POSIX may hold any byte but
// '/' and NUL, a line feed too.
std::string JournalText(const std::vector<Entry>& entries) {
  std::string text(kJournalHead);
  for (const Entry& e : entries) {
    for (const std::string* name : {&e.temporary, &e.target, &e.kept}) {
      text += std::to_string(name->size()) + " " + *name + "\n";
    }
  }
  return text;
}

bool ParseJournal(std::string_view text, std::vector<Entry>& entries) {
  if (text.substr(0, kJournalHead.size()) != kJournalHead) return false;
  text.remove_prefix(kJournalHead.size());
  auto field = [&text](std::string& name) {
    const std::size_t blank = text.find(' ');
    if (blank == 0 || blank == std::string_view::npos || blank > 5) return false;
    std::size_t length = 0;
    for (const char c : text.substr(0, blank)) {
      if (c < '0' || c > '9') return false;
      length = length * 10 + static_cast<std::size_t>(c - '0');
    }
    if (text.size() < blank + 1 + length + 1 || text[blank + 1 + length] != '\n') return false;
    name = std::string(text.substr(blank + 1, length));
    text.remove_prefix(blank + 1 + length + 1);
    return name.find_first_of(std::string_view("/\\\0", 3)) == std::string::npos;
  };
  while (!text.empty()) {
    Entry e;
    if (!field(e.temporary) || !field(e.target) || !field(e.kept) || e.temporary.empty() ||
        e.target.empty())
      return false;
    entries.push_back(std::move(e));
  }
  return !entries.empty();
}

// The journal's bytes, or nothing when it cannot be read.
bool ReadSmallFile(const std::string& path, std::string& text) {
  const int fd = platform::OpenInput(path.c_str());
  if (fd < 0) return false;
  char block[4096];
  long long n = 0;
  while (text.size() < (1 << 20) && (n = platform::Read(fd, block, sizeof block)) > 0) {
    text.append(block, static_cast<std::size_t>(n));
  }
  platform::Close(fd);
  return n == 0;
}

int WriteJournal(const std::string& path, const std::vector<Entry>& entries) {
  platform::ReplacementFile journal;
  if (const int error = journal.Create(path); error != 0) return error;
  const std::string text = JournalText(entries);
  for (std::size_t done = 0; done < text.size();) {
    errno = 0;
    const long long n = platform::Write(journal.fd(), text.data() + done, text.size() - done);
    if (n < 0) return errno != 0 ? errno : EIO;
    done += static_cast<std::size_t>(n);
  }
  if (const int error = journal.Finish(); error != 0) return error;
  return journal.Commit();
}

}  // namespace

std::string Stem(std::string_view input) {
  const std::string_view name = FileNamePart(input);
  const std::size_t dot = name.rfind('.');
  return std::string(dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot));
}

std::string FolderBeside(std::string_view input) {
  const std::string_view name = FileNamePart(input);
  return std::string(input.substr(0, input.size() - name.size())) + Stem(input) + "_grouper";
}

std::array<std::string, kProducts> ProductPaths(const std::string& folder,
                                                const std::string& stem) {
  const std::string base = Joined(folder, stem);
  return {base + ".out", base + ".csv", base + ".html"};
}

Recovery CompleteInterruptedSet(const std::string& folder, SetFailure& failure) {
  const std::string journal = Joined(folder, kJournalName);
  if (!platform::Exists(journal)) return Recovery::kNothingToDo;
  std::string text;
  std::vector<Entry> entries;
  // A journal appears whole (it is renamed into place) before the first
  // rename; one that does not read as such was never the mark of a set.
  if (!ReadSmallFile(journal, text) || !ParseJournal(text, entries)) {
    platform::RemoveFile(journal);
    return Recovery::kNothingToDo;
  }
  platform::InterruptsDeferred deferred;
  // The files were renamed in order, and every one still under its temporary
  // name is whole: renaming those completes the set.
  for (const Entry& e : entries) {
    const std::string temporary = Joined(folder, e.temporary);
    if (!platform::Exists(temporary)) continue;
    if (const int error = platform::RenameFile(temporary, Joined(folder, e.target)); error != 0) {
      failure = {error, Joined(folder, e.target), false};
      return Recovery::kFailed;
    }
  }
  for (const Entry& e : entries) {
    if (!e.kept.empty()) platform::RemoveFile(Joined(folder, e.kept));
  }
  platform::RemoveFile(journal);
  platform::SyncFolder(folder);
  return Recovery::kCompleted;
}

SetFailure ReplaceSet(const std::string& folder, std::span<platform::ReplacementFile> files,
                      int stop_after_rename) {
  platform::InterruptsDeferred deferred;
  for (const platform::ReplacementFile& file : files) {
    if (const int error = platform::CheckReplaceable(file.target()); error != 0)
      return {error, file.target()};
  }
  std::vector<Entry> entries;
  for (const platform::ReplacementFile& file : files) {
    entries.push_back(
        {std::string(FileNamePart(file.temporary())), std::string(FileNamePart(file.target())),
         std::string(FileNamePart(platform::TemporaryPathBeside(file.target(), ".old")))});
  }
  const std::string journal = Joined(folder, kJournalName);
  if (const int error = WriteJournal(journal, entries); error != 0) return {error, journal};

  // The old file's second name: a link where the file system has them, else
  // the old file is moved there just before the new one takes its name.
  enum class Old { kNone, kLinked, kToMove, kMoved, kStranded };
  std::vector<Old> old(files.size(), Old::kNone);
  for (std::size_t i = 0; i < files.size(); ++i) {
    const int linked = platform::LinkFile(files[i].target(), Joined(folder, entries[i].kept));
    old[i] = linked == 0 ? Old::kLinked : linked == ENOENT ? Old::kNone : Old::kToMove;
  }
  // Puts the old file `i` back under its name, after its new one took it or
  // (kMoved) in its place; an old file that stays under its second name only
  // is kStranded, and that name is then kept.
  auto put_back = [&](std::size_t i, bool renamed) {
    const std::string kept = Joined(folder, entries[i].kept);
    int error = 0;
    if (old[i] == Old::kLinked || old[i] == Old::kMoved) {
      if (renamed || old[i] == Old::kMoved) error = platform::RenameFile(kept, files[i].target());
    } else if (old[i] == Old::kNone && renamed) {
      error = platform::RemoveFile(files[i].target());  // there was none
    }
    if (old[i] == Old::kMoved || (old[i] == Old::kLinked && renamed))
      old[i] = error == 0 ? Old::kNone : Old::kStranded;
    return error == 0;
  };
  SetFailure failure;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (old[i] == Old::kToMove) {
      failure.error = platform::RenameFile(files[i].target(), Joined(folder, entries[i].kept));
      if (failure.error == 0) old[i] = Old::kMoved;
    }
    if (failure.error == 0) failure.error = files[i].Commit();
    if (failure.error != 0) {
      failure.path = files[i].target();
      failure.restored = put_back(i, false);
      for (std::size_t j = i; j-- > 0;) failure.restored = put_back(j, true) && failure.restored;
      break;
    }
    if (static_cast<int>(i) + 1 == stop_after_rename) platform::EndAbruptly();
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (old[i] == Old::kLinked || old[i] == Old::kMoved)
      platform::RemoveFile(Joined(folder, entries[i].kept));
  }
  platform::RemoveFile(journal);
  platform::SyncFolder(folder);
  return failure;
}

}  // namespace grouper::month
