#include "sdk/socialnet/json/SNUtf8.h"

#include <cstdint>

namespace socialnet {

size_t utf8SequenceLength(const unsigned char* p, size_t left) {
    unsigned char b = p[0];
    size_t length;
    uint32_t min;
    if (b < 0x80) return 1;
    if ((b & 0xE0) == 0xC0) {
        length = 2;
        min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        length = 3;
        min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        length = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (left < length) return 0;
    uint32_t cp = b & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

bool isValidUtf8(std::string_view bytes) {
    auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (size_t i = 0; i < bytes.size();) {
        size_t n = utf8SequenceLength(p + i, bytes.size() - i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

} // namespace socialnet
