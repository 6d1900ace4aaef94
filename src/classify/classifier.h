// Turns a validated AssessmentRecord into its patient group code.
//
// classify_record(output) classifies the current record and copies its group
// code ("A11" to "A73", or the empty text when no code can be formed) with its
// terminator into `output` (at least 4 bytes). Returns 0, or -1 when no record
// is current (then nothing is computed or copied).
#pragma once

namespace grouper {

int classify_record(char* output);

}  // namespace grouper
