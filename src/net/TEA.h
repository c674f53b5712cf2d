#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kavo {

// The payload cipher of every frame: a 64-bit block cipher with a 128-bit key in
// the shape of TEA (32 cycles, delta 0x9E3779B9), but with its own cycle function,
// so it does not interoperate with the published algorithm.
//
// Enciphered body: the plain length n (4 bytes big-endian, in clear), then
// ceil(n / 8) enciphered 8-byte blocks of the zero-padded plain bytes. So a valid
// body is always 4 + 8k bytes long. There is no integrity check: a wrong key gives
// garbage of the announced length.
//
// The object holds only its key, so one instance may encipher on one thread while
// it deciphers on another.
//
// Blocks do not chain, so several are enciphered side by side in vector lanes; the
// one-block-at-a-time loop stays as the reference that the faster road must match.
class TEA {
public:
    // The per-connection key: the 8 big-endian bytes of `longKey`, twice, read as
    // four little-endian words.
    explicit TEA(int64_t longKey);
    // Each key word is the little-endian reading of 4 of the 16 bytes.
    static TEA withCharKey(const std::array<uint8_t, 16>& key);

    std::vector<uint8_t> encrypt(const uint8_t* plain, size_t size) const;
    std::vector<uint8_t> encrypt(const std::vector<uint8_t>& plain) const {
        return encrypt(plain.data(), plain.size());
    }

    // The plain bytes, or nothing when the body is not 4 + 8k bytes long or its clear
    // length is beyond its blocks. A clear length of 0 or less gives no bytes.
    std::optional<std::vector<uint8_t>> decrypt(const uint8_t* body, size_t size) const;
    std::optional<std::vector<uint8_t>> decrypt(const std::vector<uint8_t>& body) const {
        return decrypt(body.data(), body.size());
    }

    // The same results, one block at a time (the reference for tests and the benchmark).
    std::vector<uint8_t> encryptOneBlockAtATime(const uint8_t* plain, size_t size) const;
    std::optional<std::vector<uint8_t>> decryptOneBlockAtATime(const uint8_t* body, size_t size) const;

    const std::array<uint32_t, 4>& keyWords() const { return s_; }

private:
    TEA() = default;
    void brew(uint32_t& y, uint32_t& z) const;
    void unbrew(uint32_t& y, uint32_t& z) const;
    // Enciphers or deciphers `blocks` 8-byte blocks from `in` into `out` (which may be
    // the same bytes), a lane group at a time, the rest one by one.
    void brewBlocks(const uint8_t* in, uint8_t* out, size_t blocks) const;
    void unbrewBlocks(const uint8_t* in, uint8_t* out, size_t blocks) const;
    // How many plain bytes a body announces; nothing when its shape is wrong.
    static std::optional<size_t> clearLength(const uint8_t* body, size_t size);

    std::array<uint32_t, 4> s_{};
};

} // namespace kavo
