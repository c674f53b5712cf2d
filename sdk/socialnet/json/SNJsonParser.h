#pragma once

#include "sdk/socialnet/json/SNJsonBase.h"
#include "sdk/socialnet/json/SNValue.h"

#include <optional>
#include <string>
#include <string_view>

namespace socialnet {

// Reads JSON text in one pass over its UTF-8 bytes. Lenient where the library
// always was: the comma between elements or members is optional ("[1 2]" is two
// numbers). Numbers become exact decimals, objects dictionaries in the order read
// (a repeated key keeps its first place and its last value). A NUL byte ends the
// text; nothing past the given bytes is ever read. A failure returns nullopt and
// leaves the errors in errorTrace(), innermost first.
class SNJsonParser : public SNJsonBase {
public:
    // An object or an array; a lone scalar fails with "Valid fragment, but not JSON".
    std::optional<SNValue> objectWithString(std::optional<std::string_view> text);
    // A value of any kind.
    std::optional<SNValue> fragmentWithString(std::optional<std::string_view> text);

private:
    bool atEnd() const { return c_ == end_; }
    // The byte at the read position, 0 at the end.
    unsigned char peek() const { return atEnd() ? 0 : static_cast<unsigned char>(*c_); }
    void skipWhitespace();
    bool scanValue(SNValue& out);
    bool scanRestOfArray(SNValue& out);
    bool scanRestOfDictionary(SNValue& out);
    bool scanRestOfString(std::string& out);
    bool scanUnicodeChar(uint32_t& codePoint);
    bool scanHexQuad(uint32_t& value);
    bool scanNumber(SNValue& out);
    bool scanLiteral(std::string_view rest, const char* failure);

    const char* c_ = nullptr;
    const char* end_ = nullptr;
};

} // namespace socialnet
