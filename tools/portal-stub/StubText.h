#pragma once

#include <cstddef>
#include <string>

namespace portalstub {

// How the stub reads UTF-8 text from the wire, by character.

// The bytes of the control character or line separator that starts at `at` of `text`,
// or 0 when another character does: a C0 control or DEL (1 byte), a C1 control
// (U+0080-U+009F, NEL among them: 2 bytes), U+2028 or U+2029 (3 bytes).
size_t controlAt(const std::string& text, size_t at);
// The code point of the control character or line separator at `at`.
unsigned controlCode(const std::string& text, size_t at);

} // namespace portalstub
