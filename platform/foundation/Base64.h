#pragma once

#include "platform/foundation/Value.h"

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Standard Base64 (RFC 4648 alphabet, with '=' padding, no line breaks).
std::string base64Encode(const Bytes& bytes);
std::string base64Encode(std::string_view bytes);

// Decodes padded Base64. Any character outside the alphabet (white space
// included), a wrong length or misplaced padding gives nullopt.
std::optional<Bytes> base64Decode(std::string_view text);
// Decodes the padded Base64 held in `text` into its own storage (no second buffer: a stored
// mailbox's text is tens of megabytes). False on a fault, as base64Decode gives nullopt;
// `text` then holds no usable bytes.
bool base64DecodeInPlace(Bytes& text);
// True when base64Decode would decode the text.
bool isBase64(std::string_view text);
// The number of bytes valid Base64 decodes to.
size_t base64DecodedSize(std::string_view text);

} // namespace platform
