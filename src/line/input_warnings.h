// Signs that an input is not the file the program expects: a text saved as
// UTF-8 instead of code page 949, lines that end in CR alone, an empty file.
// Such a file is still answered line by line as the batch answers it (with
// plausible but wrong faults, or a few long wrong-data-type lines); these
// signs let the batch's notes, the explanation and the report say why.
//
// The signs are read from the reads of the file as the batch splits it, one
// read at a time, in order, so that memory does not grow with the file:
//   utf8          the file opens with a UTF-8 byte-order mark, or a read holds
//                 a Hangul syllable in UTF-8 and is valid UTF-8 as a whole (a
//                 code page 949 syllable never is: its lead byte is a UTF-8
//                 continuation byte);
//   cr-line-ends  a CR, or a run of CRs, is followed by another byte than LF
//                 (within a read, or from one read to the next, however the
//                 run is split between reads). CRs before LF are part of the
//                 line end, which the batch trims, and CRs that end the file
//                 end its last line: neither is a sign, since the batch reads
//                 such a file as the same lines as one in CR LF;
//   empty         the file holds no byte.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "text/language.h"

namespace grouper {

class InputWarnings {
 public:
  // Takes the next read of the file (`length` bytes at `read`).
  void Add(const char* read, std::size_t length);
  // Takes the end of the file; call once, after the last read.
  void Finish();

  bool utf8() const { return utf8_; }
  bool cr_line_ends() const { return cr_line_ends_; }
  bool empty() const { return finished_ && !any_bytes_; }

  // The names of the signs found, in the order above ("utf8", "cr-line-ends",
  // "empty").
  std::vector<const char*> Names() const;
  // The names found since the last call, so that a program can warn as soon
  // as a sign shows, once per sign.
  std::vector<const char*> NewNames();
  // One sentence per sign, in `language`, for a person (UTF-8, no line end).
  static std::string Sentence(const char* name, Language language);

 private:
  bool any_bytes_ = false;
  bool finished_ = false;
  // Looks for a CR run that ends in another byte than LF.
  void FindLoneCr(const char* read, std::size_t length);

  bool pending_cr_ = false;  // the last read ended in a CR run, not in LF
  bool utf8_ = false;
  bool cr_line_ends_ = false;
  std::vector<const char*> reported_;
};

}  // namespace grouper
