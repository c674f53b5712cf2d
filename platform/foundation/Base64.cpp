#include "platform/foundation/Base64.h"

namespace platform {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int sextet(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

std::string encode(const uint8_t* data, size_t size) {
    std::string out;
    out.reserve((size + 2) / 3 * 4);
    for (size_t i = 0; i < size; i += 3) {
        uint32_t chunk = uint32_t(data[i]) << 16;
        if (i + 1 < size) chunk |= uint32_t(data[i + 1]) << 8;
        if (i + 2 < size) chunk |= data[i + 2];
        out += kAlphabet[(chunk >> 18) & 63];
        out += kAlphabet[(chunk >> 12) & 63];
        out += i + 1 < size ? kAlphabet[(chunk >> 6) & 63] : '=';
        out += i + 2 < size ? kAlphabet[chunk & 63] : '=';
    }
    return out;
}

} // namespace

std::string base64Encode(const Bytes& bytes) {
    return encode(bytes.data(), bytes.size());
}

std::string base64Encode(std::string_view bytes) {
    return encode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::optional<Bytes> base64Decode(std::string_view text) {
    if (text.size() % 4 != 0) return std::nullopt;
    Bytes out;
    out.reserve(text.size() / 4 * 3);
    for (size_t i = 0; i < text.size(); i += 4) {
        bool last = i + 4 == text.size();
        int padding = 0;
        if (last && text[i + 3] == '=') padding = text[i + 2] == '=' ? 2 : 1;
        uint32_t chunk = 0;
        for (int k = 0; k < 4; ++k) {
            int v = k >= 4 - padding ? 0 : sextet(text[i + k]);
            if (v < 0) return std::nullopt;
            chunk = (chunk << 6) | uint32_t(v);
        }
        out.push_back(uint8_t(chunk >> 16));
        if (padding < 2) out.push_back(uint8_t(chunk >> 8));
        if (padding < 1) out.push_back(uint8_t(chunk));
    }
    return out;
}

} // namespace platform
