#include "tests/support/Bytes.h"

namespace kavo::test {

namespace {
int nibble(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
} // namespace

ByteVector fromHex(std::string_view hex) {
    ByteVector out;
    int high = -1;
    for (char c : hex) {
        if (c == ' ') continue;
        int v = nibble(c);
        if (v < 0) break;
        if (high < 0) {
            high = v;
        } else {
            out.push_back(static_cast<uint8_t>(high * 16 + v));
            high = -1;
        }
    }
    return out;
}

std::string toHex(const ByteVector& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

} // namespace kavo::test
