#include "platform/foundation/Uuid.h"

#include <cstdint>
#include <mutex>
#include <random>

namespace platform {

std::string newUuidString() {
    static std::mutex mutex;
    static std::mt19937_64 generator{std::random_device{}()};
    uint8_t bytes[16];
    {
        std::lock_guard lock(mutex);
        uint64_t high = generator();
        uint64_t low = generator();
        for (int i = 0; i < 8; ++i) {
            bytes[i] = uint8_t(high >> (56 - 8 * i));
            bytes[8 + i] = uint8_t(low >> (56 - 8 * i));
        }
    }
    bytes[6] = uint8_t((bytes[6] & 0x0F) | 0x40); // version 4
    bytes[8] = uint8_t((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(36);
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
        text += kHex[bytes[i] >> 4];
        text += kHex[bytes[i] & 0x0F];
    }
    return text;
}

} // namespace platform
