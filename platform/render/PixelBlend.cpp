#include "platform/render/PixelBlend.h"

#include <vector>

namespace platform::render {

namespace {

// Source positions for target steps 0..count-1: the pixel whose span holds the step's
// centre, in 16.16 fixed point as the blitter reckons it.
void nearest(int sourceStart, int sourceLength, int count, std::vector<int>& positions) {
    positions.resize(size_t(count));
    const uint32_t step = (uint32_t(sourceLength) << 16) / uint32_t(count);
    uint64_t position = step / 2;
    for (int i = 0; i < count; ++i, position += step)
        positions[size_t(i)] = sourceStart + int(position >> 16);
}

inline uint32_t times(uint32_t a, uint32_t b) {
    return a * b / 255;
}

} // namespace

void blendStretched(const RgbaPixels& source, const SDL_Rect& from, SDL_Surface* target, const SDL_Rect& to,
                    SDL_Color tint) {
    if (from.w <= 0 || from.h <= 0 || to.w <= 0 || to.h <= 0) return;
    thread_local std::vector<int> columns, rows;
    nearest(from.x, from.w, to.w, columns);
    nearest(from.y, from.h, to.h, rows);
    const bool tinted = tint.r != 255 || tint.g != 255 || tint.b != 255;
    const bool faded = tint.a != 255;
    auto* const targetBytes = static_cast<uint8_t*>(target->pixels);
    for (int y = 0; y < to.h; ++y) {
        const uint8_t* const sourceRow = source.bytes + size_t(rows[size_t(y)]) * source.pitch;
        uint8_t* d = targetBytes + size_t(to.y + y) * size_t(target->pitch) + size_t(to.x) * 4;
        for (int x = 0; x < to.w; ++x, d += 4) {
            const uint8_t* const s = sourceRow + size_t(columns[size_t(x)]) * 4;
            uint32_t r = s[0], g = s[1], b = s[2], a = s[3];
            if (faded) a = times(a, tint.a);
            // Nothing at all shows: every target byte stays as it is.
            if (a == 0) continue;
            if (tinted) {
                r = times(r, tint.r);
                g = times(g, tint.g);
                b = times(b, tint.b);
            }
            if (a == 255) {
                d[0] = uint8_t(r), d[1] = uint8_t(g), d[2] = uint8_t(b), d[3] = 255;
                continue;
            }
            const uint32_t keep = 255 - a;
            d[0] = uint8_t(times(r, a) + times(keep, d[0]));
            d[1] = uint8_t(times(g, a) + times(keep, d[1]));
            d[2] = uint8_t(times(b, a) + times(keep, d[2]));
            d[3] = uint8_t(a + times(keep, d[3]));
        }
    }
}

} // namespace platform::render
