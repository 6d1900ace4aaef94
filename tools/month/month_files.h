// Where grouper-month puts what it makes of a month's file, and how the three
// files replace the old three: all of them, or none.
//
// For an input "<dir>/<stem>.<ext>" the products go in the folder
// "<dir>/<stem>_grouper": "<stem>.out" (the result file), "<stem>.csv" (the
// explanation table) and "<stem>.html" (the report page). A name without an
// extension is its own stem, and so is one whose only dot is its first
// character (".month").
//
// One run at a time writes in a folder (platform::FolderLock). Each product is
// written under a temporary name of its own in the folder and flushed to the
// disk (platform/replace_file.h). Only when all three are whole, and no old
// one stands in the way (a folder of its name; on Windows a file that another
// program holds open), are they renamed over the old ones, one after another,
// while interrupts wait. Meanwhile a journal in the folder names the set, and
// each old file keeps a second name: a rename that fails puts the old files
// back, and a run killed between two renames (kill -9, a power cut) leaves the
// journal, from which the next run in the folder completes the set before it
// does anything else. A run that fails or is interrupted leaves the old set
// and no temporary file; one killed outright leaves temporary files that the
// next run removes.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "platform/replace_file.h"

namespace grouper::month {

// The products, in the order in which they are made and renamed.
enum Product { kResult, kExplanation, kReport, kProducts };

// The journal's name in the products' folder, and the name of the folder's
// lock (platform::FolderLock).
inline constexpr char kJournalName[] = ".grouper-month.journal";
inline constexpr char kLockName[] = "grouper-month";

// The input's file name without its last extension.
std::string Stem(std::string_view input);

// The folder beside the input that holds its products ("<dir>/<stem>_grouper").
std::string FolderBeside(std::string_view input);

// The path of each product of `stem` in `folder`.
std::array<std::string, kProducts> ProductPaths(const std::string& folder, const std::string& stem);

// Why a set could not be replaced or completed: the system's reason (or the
// platform's own, kFileInUse) and the file it concerns; `restored` false when
// some old file could not be put back either.
struct SetFailure {
  int error = 0;
  std::string path;
  bool restored = true;
};

enum class Recovery { kNothingToDo, kCompleted, kFailed };

// With the folder's lock held: completes the renames of a set that an earlier
// run in `folder` left half done (its journal), and removes the journal and
// the old files' second names. kFailed with `failure` set when a rename
// cannot be done (the journal then stays for the next run).
Recovery CompleteInterruptedSet(const std::string& folder, SetFailure& failure);

// With the folder's lock held: renames `files`, each written and finished
// (ReplacementFile::Finish), over their targets in `folder`, all or none.
// An empty failure when done. `stop_after_rename` is a test hook: after that
// many renames, the process ends abruptly (0: never).
SetFailure ReplaceSet(const std::string& folder, std::span<platform::ReplacementFile> files,
                      int stop_after_rename = 0);

}  // namespace grouper::month
