#include "driver/line_processor.h"

#include <cstring>

#include "classify/classifier.h"
#include "record/form_version.h"
#include "record/record_parser.h"
#include "validate/record_validator.h"

namespace grouper {

void ResetLineProcessor(LineProcessor& p) {
  std::memset(&p, 0, sizeof p);
}

void ProcessLine(LineProcessor& p, std::size_t read_length) {
  ++p.line_counter;
  // Only the text of ErrorText up to its NUL is ever read, and the parser
  // zero-fills the record before anything reads it.
  p.error_text[0] = '\0';
  std::memset(p.group_code, 0, sizeof p.group_code);
  std::memset(p.form_version, 0, sizeof p.form_version);

  // The text ends at the first NUL; what follows it in the read is not part of
  // the line, and the parser relies on zero bytes beyond the text.
  const std::size_t text_length = strnlen(p.line, read_length);
  std::memset(p.line + text_length, 0, read_length - text_length);
  const std::size_t length = TrimLine(p.line, text_length);

  std::memcpy(p.form_version, p.line, length < 3 ? length : 3);
  const FamilyInfo& family = InfoOf(FamilyOf(p.form_version));

  if (!DriverFramingAccepts(p.form_version, length)) {
    p.console_first = true;
    p.console_length = ComposeConsoleWrongType(p.line_counter, p.console_line);
    p.output_length = ComposeWrongTypeLine(p.line, length, family.reject_column, p.output_line);
    return;
  }

  SetCurrentRecord(&p.record);
  if (RecordParser(p.line, p.error_text) < 0 || RecordValidator(p.error_text) < 0) {
    p.console_first = true;
    p.console_length = ComposeConsoleMessage(p.line_counter, p.error_text, p.console_line);
    p.output_length = ComposeMessageLine(p.line, length, p.error_text, p.output_line);
    return;
  }
  classify_record(p.group_code);
  p.console_first = false;
  p.output_length =
      ComposeCodeLine(p.line, length, family.code_column, p.group_code, p.output_line);
  p.console_length = ComposeConsoleCode(p.line_counter, p.group_code, p.console_line);
}

}  // namespace grouper
