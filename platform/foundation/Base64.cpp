#include "platform/foundation/Base64.h"

namespace platform {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr int sextet(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

std::string encode(const uint8_t* data, size_t size) {
    std::string out((size + 2) / 3 * 4, '=');
    char* o = out.data();
    size_t i = 0;
    for (; i + 3 <= size; i += 3, o += 4) {
        const uint32_t chunk = uint32_t(data[i]) << 16 | uint32_t(data[i + 1]) << 8 | data[i + 2];
        o[0] = kAlphabet[(chunk >> 18) & 63];
        o[1] = kAlphabet[(chunk >> 12) & 63];
        o[2] = kAlphabet[(chunk >> 6) & 63];
        o[3] = kAlphabet[chunk & 63];
    }
    if (i < size) {
        uint32_t chunk = uint32_t(data[i]) << 16;
        if (i + 1 < size) chunk |= uint32_t(data[i + 1]) << 8;
        o[0] = kAlphabet[(chunk >> 18) & 63];
        o[1] = kAlphabet[(chunk >> 12) & 63];
        if (i + 1 < size) o[2] = kAlphabet[(chunk >> 6) & 63];
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

namespace {

// The sextet of each character, or -1.
struct SextetTable {
    int8_t v[256];
    constexpr SextetTable() : v{} {
        for (int c = 0; c < 256; ++c)
            v[c] = int8_t(sextet(char(c)));
    }
};
constexpr SextetTable kSextets;

// Walks padded Base64 and hands out each group of four as 24 bits and the number of
// bytes it holds (3, 2 or 1); false at the first fault.
template <typename Sink> bool walkBase64(std::string_view text, Sink&& sink) {
    if (text.size() % 4 != 0) return false;
    const auto* p = reinterpret_cast<const uint8_t*>(text.data());
    for (size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        int padding = 0;
        if (last && p[i + 3] == '=') padding = p[i + 2] == '=' ? 2 : 1;
        uint32_t chunk = 0;
        for (int k = 0; k < 4; ++k) {
            const int v = k >= 4 - padding ? 0 : kSextets.v[p[i + k]];
            if (v < 0) return false;
            chunk = (chunk << 6) | uint32_t(v);
        }
        sink(chunk, 3 - padding);
    }
    return true;
}

} // namespace

namespace {

// Decodes the padded Base64 `text` to `out`, which may be the text's own first byte: each
// group of four is read before its three bytes are written, and they land before it. The
// byte count, or nothing at the first fault.
std::optional<size_t> decodeTo(std::string_view text, uint8_t* out) {
    if (text.size() % 4 != 0) return std::nullopt;
    // Every group but the last holds four characters of the alphabet: a stored mailbox is
    // megabytes of them, decoded here without a look at padding.
    const auto* p = reinterpret_cast<const uint8_t*>(text.data());
    const size_t body = text.empty() ? 0 : text.size() - 4;
    int bad = 0;
    size_t at = 0;
    for (size_t i = 0; i < body; i += 4, at += 3) {
        const int a = kSextets.v[p[i]], b = kSextets.v[p[i + 1]], c = kSextets.v[p[i + 2]], d = kSextets.v[p[i + 3]];
        bad |= a | b | c | d;
        const uint32_t chunk = uint32_t(a) << 18 | uint32_t(b) << 12 | uint32_t(c) << 6 | uint32_t(d);
        out[at] = uint8_t(chunk >> 16);
        out[at + 1] = uint8_t(chunk >> 8);
        out[at + 2] = uint8_t(chunk);
    }
    if (bad < 0) return std::nullopt;
    // The last group's bytes may land on its own characters: it is read whole before they are written.
    const bool ok = walkBase64(text.substr(body), [&](uint32_t chunk, int count) {
        out[at] = uint8_t(chunk >> 16);
        if (count > 1) out[at + 1] = uint8_t(chunk >> 8);
        if (count > 2) out[at + 2] = uint8_t(chunk);
        at += size_t(count);
    });
    if (!ok) return std::nullopt;
    return at;
}

} // namespace

std::optional<Bytes> base64Decode(std::string_view text) {
    Bytes out(text.size() / 4 * 3);
    const auto size = decodeTo(text, out.data());
    if (!size) return std::nullopt;
    out.resize(*size);
    return out;
}

bool base64DecodeInPlace(Bytes& text) {
    const auto size = decodeTo(asText(text), text.data());
    if (!size) return false;
    text.resize(*size);
    return true;
}

bool isBase64(std::string_view text) {
    if (text.size() % 4 != 0) return false;
    if (text.empty()) return true;
    // Every group but the last holds four characters of the alphabet; the last one is
    // checked as the decoder reads it.
    const auto* p = reinterpret_cast<const uint8_t*>(text.data());
    const size_t body = text.size() - 4;
    int bad = 0;
    for (size_t i = 0; i < body; ++i)
        bad |= kSextets.v[p[i]];
    return bad >= 0 && walkBase64(text.substr(body), [](uint32_t, int) {});
}

size_t base64DecodedSize(std::string_view text) {
    if (text.size() < 4 || text.size() % 4 != 0) return 0;
    size_t size = text.size() / 4 * 3;
    if (text[text.size() - 1] == '=') --size;
    if (text[text.size() - 2] == '=') --size;
    return size;
}

} // namespace platform
