#include "net/TEA.h"

namespace kavo {

namespace {
constexpr uint32_t kDelta = 0x9E3779B9u;
constexpr uint32_t kDecipherStart = 0xC6EF3720u; // 32 * kDelta, modulo 2^32
constexpr int kCycles = 32;

// Four 32-bit lanes; two such vectors are worked on together so that a lane group
// covers kGroup blocks and the two dependency chains overlap in the pipeline.
using Lanes = uint32_t __attribute__((vector_size(16)));
constexpr size_t kLanes = 4;
constexpr size_t kGroup = 2 * kLanes;

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

// The y and z words of kGroup consecutive blocks, lane i holding block i.
struct Group {
    Lanes y0, z0, y1, z1;
};

Group loadGroup(const uint8_t* in) {
    Group g{};
    for (size_t i = 0; i < kLanes; ++i) {
        g.y0[i] = loadBig(in + 8 * i);
        g.z0[i] = loadBig(in + 8 * i + 4);
        g.y1[i] = loadBig(in + 8 * (i + kLanes));
        g.z1[i] = loadBig(in + 8 * (i + kLanes) + 4);
    }
    return g;
}

void storeGroup(const Group& g, uint8_t* out) {
    for (size_t i = 0; i < kLanes; ++i) {
        storeBig(out + 8 * i, g.y0[i]);
        storeBig(out + 8 * i + 4, g.z0[i]);
        storeBig(out + 8 * (i + kLanes), g.y1[i]);
        storeBig(out + 8 * (i + kLanes) + 4, g.z1[i]);
    }
}

// The padded body of `size` plain bytes: the clear length, then the bytes, then zeros.
std::vector<uint8_t> paddedBody(const uint8_t* plain, size_t size) {
    size_t blocks = (size + 7) / 8;
    std::vector<uint8_t> out(4 + 8 * blocks, 0);
    storeBig(out.data(), static_cast<uint32_t>(size));
    for (size_t i = 0; i < size; ++i)
        out[4 + i] = plain[i];
    return out;
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

void TEA::brewBlocks(const uint8_t* in, uint8_t* out, size_t blocks) const {
    const uint32_t k0 = s_[0], k1 = s_[1], k2 = s_[2], k3 = s_[3];
    size_t b = 0;
    for (; b + kGroup <= blocks; b += kGroup) {
        Group g = loadGroup(in + 8 * b);
        uint32_t sum = kDelta;
        for (int i = 0; i < kCycles; ++i) {
            g.y0 += (((g.z0 << 4) + k0) ^ g.z0) + (sum ^ (g.z0 >> 5)) + k1;
            g.y1 += (((g.z1 << 4) + k0) ^ g.z1) + (sum ^ (g.z1 >> 5)) + k1;
            g.z0 += (((g.y0 << 4) + k2) ^ g.y0) + (sum ^ (g.y0 >> 5)) + k3;
            g.z1 += (((g.y1 << 4) + k2) ^ g.y1) + (sum ^ (g.y1 >> 5)) + k3;
            sum += kDelta;
        }
        storeGroup(g, out + 8 * b);
    }
    for (; b < blocks; ++b) {
        uint32_t y = loadBig(in + 8 * b), z = loadBig(in + 8 * b + 4);
        brew(y, z);
        storeBig(out + 8 * b, y);
        storeBig(out + 8 * b + 4, z);
    }
}

void TEA::unbrewBlocks(const uint8_t* in, uint8_t* out, size_t blocks) const {
    const uint32_t k0 = s_[0], k1 = s_[1], k2 = s_[2], k3 = s_[3];
    size_t b = 0;
    for (; b + kGroup <= blocks; b += kGroup) {
        Group g = loadGroup(in + 8 * b);
        uint32_t sum = kDecipherStart;
        for (int i = 0; i < kCycles; ++i) {
            g.z0 -= (((g.y0 << 4) + k2) ^ g.y0) + (sum ^ (g.y0 >> 5)) + k3;
            g.z1 -= (((g.y1 << 4) + k2) ^ g.y1) + (sum ^ (g.y1 >> 5)) + k3;
            g.y0 -= (((g.z0 << 4) + k0) ^ g.z0) + (sum ^ (g.z0 >> 5)) + k1;
            g.y1 -= (((g.z1 << 4) + k0) ^ g.z1) + (sum ^ (g.z1 >> 5)) + k1;
            sum -= kDelta;
        }
        storeGroup(g, out + 8 * b);
    }
    for (; b < blocks; ++b) {
        uint32_t y = loadBig(in + 8 * b), z = loadBig(in + 8 * b + 4);
        unbrew(y, z);
        storeBig(out + 8 * b, y);
        storeBig(out + 8 * b + 4, z);
    }
}

std::optional<size_t> TEA::clearLength(const uint8_t* body, size_t size) {
    if (size < 4 || (size - 4) % 8 != 0) return std::nullopt;
    size_t blocks = (size - 4) / 8;
    auto announced = static_cast<int32_t>(loadBig(body));
    if (announced > 0 && static_cast<uint64_t>(announced) > 8 * uint64_t(blocks)) return std::nullopt;
    return announced <= 0 ? 0 : static_cast<size_t>(announced);
}

std::vector<uint8_t> TEA::encrypt(const uint8_t* plain, size_t size) const {
    // The output doubles as the word array, enciphered in place.
    std::vector<uint8_t> out = paddedBody(plain, size);
    brewBlocks(out.data() + 4, out.data() + 4, (size + 7) / 8);
    return out;
}

std::optional<std::vector<uint8_t>> TEA::decrypt(const uint8_t* body, size_t size) const {
    std::optional<size_t> n = clearLength(body, size);
    if (!n) return std::nullopt;
    // Only the blocks that hold plain bytes need deciphering.
    size_t needed = (*n + 7) / 8;
    std::vector<uint8_t> out(needed * 8);
    unbrewBlocks(body + 4, out.data(), needed);
    out.resize(*n);
    return out;
}

std::vector<uint8_t> TEA::encryptOneBlockAtATime(const uint8_t* plain, size_t size) const {
    std::vector<uint8_t> out = paddedBody(plain, size);
    for (size_t b = 0; b < (size + 7) / 8; ++b) {
        uint8_t* block = out.data() + 4 + 8 * b;
        uint32_t y = loadBig(block), z = loadBig(block + 4);
        brew(y, z);
        storeBig(block, y);
        storeBig(block + 4, z);
    }
    return out;
}

std::optional<std::vector<uint8_t>> TEA::decryptOneBlockAtATime(const uint8_t* body, size_t size) const {
    std::optional<size_t> n = clearLength(body, size);
    if (!n) return std::nullopt;
    size_t needed = (*n + 7) / 8;
    std::vector<uint8_t> out(needed * 8);
    for (size_t b = 0; b < needed; ++b) {
        const uint8_t* block = body + 4 + 8 * b;
        uint32_t y = loadBig(block), z = loadBig(block + 4);
        unbrew(y, z);
        storeBig(out.data() + 8 * b, y);
        storeBig(out.data() + 8 * b + 4, z);
    }
    out.resize(*n);
    return out;
}

} // namespace kavo
