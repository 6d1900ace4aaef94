// The console lines with which the batch stops on a file it cannot open,
// write or read: the text of each failure, which the file's name and a line
// feed follow. One list for the batch and the C interface, whose callers (the
// Java and .NET commands) print the same lines.
#ifndef GROUPER_BATCH_FILE_ERRORS_H
#define GROUPER_BATCH_FILE_ERRORS_H

namespace grouper {

// In the order of the C interface's GROUPER_CONSOLE_* numbers.
enum class FileError { kInputOpen, kOutputOpen, kOutputWrite, kInputRead };

constexpr const char* FileErrorText(FileError error) {
  switch (error) {
    case FileError::kInputOpen:
      return "INPUT File Open Error - ";
    case FileError::kOutputOpen:
      return "OUTPUT File Open Error - ";
    case FileError::kOutputWrite:
      return "OUTPUT File Write Error - ";
    case FileError::kInputRead:
      break;
  }
  return "INPUT File Read Error - ";
}

}  // namespace grouper

#endif  // GROUPER_BATCH_FILE_ERRORS_H
