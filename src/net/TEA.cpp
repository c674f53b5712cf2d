#include "net/TEA.h"

namespace kavo {

namespace {
constexpr uint32_t kDelta = 0x9E3779B9u;
constexpr uint32_t kDecipherStart = 0xC6EF3720u; // 32 * kDelta, modulo 2^32
constexpr int kCycles = 32;

uint32_t loadBig(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}
void storeBig(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}
uint32_t loadLittle(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
} // namespace

TEA::TEA(int64_t longKey) {
    // The key bytes are the 8 big-endian bytes of the long key, written twice.
    std::array<uint8_t, 16> key{};
    auto k = static_cast<uint64_t>(longKey);
    for (int i = 0; i < 8; ++i) {
        key[size_t(i)] = uint8_t(k >> (56 - 8 * i));
        key[size_t(i) + 8] = key[size_t(i)];
    }
    for (size_t i = 0; i < 4; ++i)
        s_[i] = loadLittle(&key[4 * i]);
}

TEA TEA::withCharKey(const std::array<uint8_t, 16>& key) {
    TEA tea;
    for (size_t i = 0; i < 4; ++i)
        tea.s_[i] = loadLittle(&key[4 * i]);
    return tea;
}

// Both halves of a cycle use the same sum, which grows after the z step.
void TEA::brew(uint32_t& y, uint32_t& z) const {
    uint32_t sum = kDelta;
    for (int i = 0; i < kCycles; ++i) {
        y += (((z << 4) + s_[0]) ^ z) + (sum ^ (z >> 5)) + s_[1];
        z += (((y << 4) + s_[2]) ^ y) + (sum ^ (y >> 5)) + s_[3];
        sum += kDelta;
    }
}

void TEA::unbrew(uint32_t& y, uint32_t& z) const {
    uint32_t sum = kDecipherStart;
    for (int i = 0; i < kCycles; ++i) {
        z -= (((y << 4) + s_[2]) ^ y) + (sum ^ (y >> 5)) + s_[3];
        y -= (((z << 4) + s_[0]) ^ z) + (sum ^ (z >> 5)) + s_[1];
        sum -= kDelta;
    }
}

std::vector<uint8_t> TEA::encrypt(const uint8_t* plain, size_t size) const {
    size_t blocks = (size + 7) / 8;
    // The output doubles as the word array: the clear length, then the zero-padded
    // plain bytes, enciphered in place block by block.
    std::vector<uint8_t> out(4 + 8 * blocks, 0);
    storeBig(out.data(), static_cast<uint32_t>(size));
    for (size_t i = 0; i < size; ++i)
        out[4 + i] = plain[i];
    for (size_t b = 0; b < blocks; ++b) {
        uint8_t* block = out.data() + 4 + 8 * b;
        uint32_t y = loadBig(block), z = loadBig(block + 4);
        brew(y, z);
        storeBig(block, y);
        storeBig(block + 4, z);
    }
    return out;
}

std::optional<std::vector<uint8_t>> TEA::decrypt(const uint8_t* body, size_t size) const {
    if (size < 4 || (size - 4) % 8 != 0) return std::nullopt;
    size_t blocks = (size - 4) / 8;
    auto clearLength = static_cast<int32_t>(loadBig(body));
    if (clearLength > 0 && static_cast<uint64_t>(clearLength) > 8 * uint64_t(blocks)) return std::nullopt;
    if (clearLength <= 0) return std::vector<uint8_t>();
    auto n = static_cast<size_t>(clearLength);
    // Only the blocks that hold plain bytes need deciphering.
    size_t needed = (n + 7) / 8;
    std::vector<uint8_t> out(needed * 8);
    for (size_t b = 0; b < needed; ++b) {
        const uint8_t* block = body + 4 + 8 * b;
        uint32_t y = loadBig(block), z = loadBig(block + 4);
        unbrew(y, z);
        storeBig(out.data() + 8 * b, y);
        storeBig(out.data() + 8 * b + 4, z);
    }
    out.resize(n);
    return out;
}

} // namespace kavo
