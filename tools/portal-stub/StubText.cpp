#include "tools/portal-stub/StubText.h"

namespace portalstub {

namespace {

unsigned char byteAt(const std::string& text, size_t at) {
    return at < text.size() ? static_cast<unsigned char>(text[at]) : 0;
}

} // namespace

size_t controlAt(const std::string& text, size_t at) {
    const unsigned char first = byteAt(text, at);
    if (at >= text.size()) return 0;
    if (first < 0x20 || first == 0x7F) return 1;
    if (first == 0xC2 && byteAt(text, at + 1) >= 0x80 && byteAt(text, at + 1) <= 0x9F) return 2;
    if (first == 0xE2 && byteAt(text, at + 1) == 0x80 && (byteAt(text, at + 2) == 0xA8 || byteAt(text, at + 2) == 0xA9))
        return 3;
    return 0;
}

unsigned controlCode(const std::string& text, size_t at) {
    switch (controlAt(text, at)) {
    case 1:
        return byteAt(text, at);
    case 2:
        return byteAt(text, at + 1);
    case 3:
        return 0x2000u | (byteAt(text, at + 2) & 0x3Fu);
    default:
        return 0;
    }
}

} // namespace portalstub
