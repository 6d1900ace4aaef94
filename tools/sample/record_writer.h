// The inverse of the parser: writes an AssessmentRecord as an input line of
// its family's layout (chosen by `form_version`), every item at its columns.
// Texts are padded with blanks, a NUL character is written as a blank, and
// numbers are written as zero-padded digits (tenths as their digits without
// the point). The line has the family's full expected length and no line end.
// The generator writes its records with it, and the tests their lines; the
// programs that read records never write one, so it is no part of the library.
#pragma once

#include <string>

#include "record/assessment_record.h"

namespace grouper {

// The line of `record` in the layout of its form_version's family, without
// a line end. Numbers wider than their item are cut to its width.
std::string ComposeRecordLine(const AssessmentRecord& record);

}  // namespace grouper
