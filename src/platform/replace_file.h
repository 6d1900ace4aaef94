// Replacing a named file whole: a reader, a crash or a power cut finds the
// old file or the new one, never a part of either, and a run that fails or is
// interrupted (Ctrl+C, SIGTERM, SIGHUP, a closed console window) leaves the
// old file as it was and no temporary file behind.
//
// The new file is written under a temporary name of its own in the target's
// folder, ".<name>.<pid>.<16 hex digits>.tmp", created exclusively and never
// through a link, flushed to the disk, and renamed over the target; then the
// folder is flushed too (POSIX). On POSIX the new file takes the old one's
// mode and, where the process may set them, its owner and group. While its
// writer lives, a temporary file is its own: on POSIX the writer holds a lock
// on it, on Windows nobody may delete it. A run killed outright (kill -9)
// leaves it, and RemoveDeadTemporaries removes it later.
//
// Failures give the system's reason unchanged (an errno value: ENOSPC for a
// full disk), and on Windows kFileInUse for a file that another program holds
// open (platform.h). All names are held as the platform layer holds them.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace grouper::platform {

// What Create does when the target is a symbolic link.
enum class LinkTarget {
  kReplaceLink,        // the link itself is replaced: nothing is written outside its folder
  kReplaceLinkedFile,  // the file that the link leads to is replaced, the link stays
};

class ReplacementFile {
 public:
  ReplacementFile() = default;
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;
  // Removes a temporary file that was never renamed (Abandon).
  ~ReplacementFile();

  // Creates the temporary file of `target` and opens it for writing; it is
  // removed if the process is interrupted before Commit. 0, or the system's
  // reason (ENOENT for a missing folder, EACCES for one that may not be
  // written).
  int Create(const std::string& target, LinkTarget links = LinkTarget::kReplaceLink);
  // The temporary file, open for writing until Finish.
  int fd() const { return fd_; }
  // The file that Commit replaces (a link's file with kReplaceLinkedFile).
  const std::string& target() const { return target_; }
  const std::string& temporary() const { return temporary_; }

  // Once everything is written: gives the temporary file the target's mode
  // and owner (POSIX) and flushes it to the disk. 0, or the system's reason
  // (a write that the disk refused late: ENOSPC, EIO).
  int Finish();
  // After Finish: renames the temporary file over the target and flushes the
  // folder. 0, or the reason (kFileInUse, EISDIR for a folder in the way);
  // on failure the temporary file is still there for another try or Abandon.
  int Commit();
  // Removes the temporary file, unless Commit has renamed it.
  void Abandon();

 private:
  std::string target_;
  std::string temporary_;
  int fd_ = -1;
  int slot_ = -1;         // its place among the files removed on an interrupt
  bool pending_ = false;  // a temporary file is there to rename or remove
};

// A fresh name beside `path`, in the temporary files' form: the folder part
// of `path`, then ".<name>.<pid>.<16 hex digits><suffix>", where <name> is the
// file name of `path` (its first 96 bytes for a long one).
std::string TemporaryPathBeside(const std::string& path, std::string_view suffix);

// Creates `path` as a new empty file open for writing, only if nothing of that
// name exists (a link there, even a dangling one, is refused with EEXIST).
// The descriptor, or -1 with errno saying why.
int CreateNewFile(const std::string& path);

// 0 when `target` can be replaced by a rename as far as can be told without
// doing it: there is nothing of that name, or a file that is not a folder and,
// on Windows, that no program holds open (kFileInUse) and that is not
// read-only (EACCES). EISDIR for a folder.
int CheckReplaceable(const std::string& target);

// Renames `from` over `to` in one step (RenameOver), giving the reason:
// 0, errno, or kFileInUse.
int RenameFile(const std::string& from, const std::string& to);

// Gives the file `target` a second name `keep` (a hard link), so that it
// can be put back after `target` has been replaced. 0, ENOENT when there is
// no `target`, or another reason where the file system has no links.
int LinkFile(const std::string& target, const std::string& keep);

// Removes the file `path`: 0, or errno (ENOENT when there is none).
int RemoveFile(const std::string& path);

// True when something of the name `path` exists (a dangling link too).
bool Exists(const std::string& path);

// Flushes the folder's list of names to the disk, so that renames in it
// survive a power cut (POSIX; nothing to do on Windows, whose renames here
// write through). 0, or errno.
int SyncFolder(const std::string& folder);

// Removes from `folder` (a path with or without its final separator; empty
// for the working folder) the files in the temporary files' form, with either
// suffix ".tmp" or ".old", of each of `names`, whose writer has ended: the
// process that its name gives is gone (or is this one, whose number may be a
// dead one's), and (POSIX) no one holds a lock on it, or (Windows) it can be
// deleted. A live program's temporary file stays, this process's own too, as
// long as it is open.
void RemoveDeadTemporaries(const std::string& folder,
                           std::initializer_list<std::string_view> names);

// The folder as one program's alone: a second FolderLock of the same lock
// name on the same folder, in this or another process, is refused until the
// first is released or its process has ended (also killed outright). On
// POSIX the folder itself is locked and nothing is written; only where the
// file system cannot lock a folder is a file ".<lock_name>.lock" made there
// (and left). On Windows the file ".<lock_name>.lock", hidden, is held open
// by the owner alone and goes when it is closed.
class FolderLock {
 public:
  FolderLock() = default;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock();
  // 0, kFolderInUse when another holds it, or the system's reason.
  int Acquire(const std::string& folder, std::string_view lock_name);

 private:
  intptr_t handle_ = -1;  // the locked descriptor, or on Windows the lock file's handle
};

}  // namespace grouper::platform
