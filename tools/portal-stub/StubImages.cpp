#include "tools/portal-stub/StubImages.h"

#include "tools/portal-stub/StubHttp.h"

#include <cstdint>

namespace portalstub {

namespace {

constexpr int kSide = 16;

uint32_t crc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void putBigEndian(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char((value >> shift) & 0xFF);
}

void chunk(std::string& png, const std::string& type, const std::string& data) {
    putBigEndian(png, uint32_t(data.size()));
    png += type + data;
    putBigEndian(png, crc32(type + data));
}

// A square of one colour: 8-bit RGB rows in one uncompressed zlib block.
std::string solidPng(uint8_t red, uint8_t green, uint8_t blue) {
    std::string raw;
    for (int y = 0; y < kSide; ++y) {
        raw += '\0'; // no filter
        for (int x = 0; x < kSide; ++x)
            raw += {char(red), char(green), char(blue)};
    }
    uint32_t a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    std::string zlib = {char(0x78), char(0x01), char(0x01)};
    zlib += {char(raw.size() & 0xFF), char(raw.size() >> 8), char(~raw.size() & 0xFF), char((~raw.size() >> 8) & 0xFF)};
    zlib += raw;
    putBigEndian(zlib, (b << 16) | a);

    std::string header;
    putBigEndian(header, kSide);
    putBigEndian(header, kSide);
    header += {char(8), char(2), char(0), char(0), char(0)};
    std::string png("\x89PNG\r\n\x1a\n", 8);
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", zlib);
    chunk(png, "IEND", "");
    return png;
}

} // namespace

std::map<std::string, std::string> stubImagePages() {
    return {{"/img/1.png", solidPng(200, 40, 40)},
            {"/img/2.png", solidPng(40, 160, 40)},
            {"/img/3.png", solidPng(40, 40, 200)}};
}

std::string pictureOf(int32_t id) {
    // Neighbouring ids get far-apart channels; none is darker than 60, so each shows on
    // the dark screens.
    const auto channel = [id](uint32_t step) { return uint8_t(60 + uint32_t(id) * step % 181); };
    return solidPng(channel(53), channel(97), channel(31));
}

void installStubImages(StubHttp& http) {
    http.setRedirect("/img/latest", [] { return std::string("/img/3.png"); });
}

} // namespace portalstub
