#pragma once

#include <cstddef>
#include <string_view>

namespace socialnet {

// Length of the well-formed UTF-8 sequence at the start of the bytes (1 to 4), or 0
// when it is malformed, overlong, a surrogate or beyond U+10FFFF.
size_t utf8SequenceLength(const unsigned char* bytes, size_t available);
bool isValidUtf8(std::string_view bytes);

} // namespace socialnet
