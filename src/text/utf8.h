// Text that ought to be UTF-8 but comes from outside (a file name given by
// the system, which may hold any bytes) made fit for a UTF-8 page: strict
// UTF-8 with the bytes that are not UTF-8 shown as escapes.
//
// Strict means the well-formed sequences of the Unicode standard and nothing
// else: no surrogate (U+D800..U+DFFF, ED A0..BF ..), no overlong form (C0 AF
// for '/'), nothing past U+10FFFF, no sequence cut short. Each byte outside a
// well-formed sequence is written as the four characters \xNN (uppercase hex)
// and the next byte is read afresh, so that any bytes give valid UTF-8, no
// byte is lost and none is written raw. A backslash of the text stays as it
// is: the escapes are for people to read, not to be decoded.
#pragma once

#include <string>
#include <string_view>

namespace grouper::utf8 {

// Appends `bytes` as strict UTF-8 with escapes.
void AppendEscaped(std::string& out, std::string_view bytes);
// The same as a new string.
std::string Escaped(std::string_view bytes);

}  // namespace grouper::utf8
