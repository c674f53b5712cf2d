#include "platform/render/PixelBlend.h"

#include "platform/runtime/Log.h"

#include <cstring>
#include <mutex>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
namespace {

// x / 255 rounded down, exact for every 16-bit x.
inline __m128i divide255(__m128i x) {
    return _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16(short(0x8081))), 7);
}

// Lanes R, G, B, A of two pixels: the source's alpha lane multiplies by 255, the others by a.
inline __m128i alphaOf(__m128i lanes) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(lanes, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
}

const __m128i kAlphaLanes = _mm_set_epi16(255, 0, 0, 0, 255, 0, 0, 0);
const __m128i k255 = _mm_set1_epi16(255);

// Two pixels of the stretched blend, in 16-bit lanes.
inline __m128i stretchedTwo(__m128i source, __m128i target, __m128i tint) {
    const __m128i tinted = divide255(_mm_mullo_epi16(source, tint));
    const __m128i alpha = alphaOf(tinted);
    const __m128i premultiplied = divide255(_mm_mullo_epi16(tinted, _mm_or_si128(alpha, kAlphaLanes)));
    const __m128i kept = divide255(_mm_mullo_epi16(target, _mm_xor_si128(alpha, k255)));
    return _mm_add_epi16(premultiplied, kept);
}

} // namespace
#endif

void blendStretched(const RgbaPixels& source, const SDL_Rect& from, SDL_Surface* target, const SDL_Rect& to,
                    SDL_Color tint) {
    if (from.w <= 0 || from.h <= 0 || to.w <= 0 || to.h <= 0) return;
    thread_local std::vector<int> columns, rows;
    nearest(from.x, from.w, to.w, columns);
    nearest(from.y, from.h, to.h, rows);
    auto* const targetBytes = static_cast<uint8_t*>(target->pixels);
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i tintLanes = _mm_set_epi16(tint.a, tint.b, tint.g, tint.r, tint.a, tint.b, tint.g, tint.r);
#endif
    for (int y = 0; y < to.h; ++y) {
        const uint8_t* const sourceRow = source.bytes + size_t(rows[size_t(y)]) * source.pitch;
        uint8_t* d = targetBytes + size_t(to.y + y) * size_t(target->pitch) + size_t(to.x) * 4;
        int x = 0;
#if defined(__SSE2__)
        for (; x + 4 <= to.w; x += 4, d += 16) {
            uint32_t picked[4];
            for (int i = 0; i < 4; ++i)
                std::memcpy(&picked[i], sourceRow + size_t(columns[size_t(x + i)]) * 4, 4);
            const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(picked));
            const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
            const __m128i low = stretchedTwo(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(t, zero), tintLanes);
            const __m128i high = stretchedTwo(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(t, zero), tintLanes);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_packus_epi16(low, high));
        }
#endif
        for (; x < to.w; ++x, d += 4) {
            const uint8_t* const s = sourceRow + size_t(columns[size_t(x)]) * 4;
            // A tint or an alpha of 255 changes nothing, so the sums need no cases.
            const uint32_t a = times(s[3], tint.a);
            const uint32_t keep = 255 - a;
            d[0] = uint8_t(times(times(s[0], tint.r), a) + times(keep, d[0]));
            d[1] = uint8_t(times(times(s[1], tint.g), a) + times(keep, d[1]));
            d[2] = uint8_t(times(times(s[2], tint.b), a) + times(keep, d[2]));
            d[3] = uint8_t(a + times(keep, d[3]));
        }
    }
}

void blendUnstretched(const RgbaPixels& source, const SDL_Rect& from, SDL_Surface* target, const SDL_Rect& to) {
    if (from.w != to.w || from.h != to.h || to.w <= 0 || to.h <= 0) return;
    auto* const targetBytes = static_cast<uint8_t*>(target->pixels);
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i opaque = _mm_set1_epi32(255);
#endif
    for (int y = 0; y < to.h; ++y) {
        const uint8_t* s = source.bytes + size_t(from.y + y) * source.pitch + size_t(from.x) * 4;
        uint8_t* d = targetBytes + size_t(to.y + y) * size_t(target->pitch) + size_t(to.x) * 4;
        int x = 0;
#if defined(__SSE2__)
        for (; x + 4 <= to.w; x += 4, s += 16, d += 16) {
            const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
            const __m128i alpha = _mm_srli_epi32(src, 24);
            const __m128i clear = _mm_cmpeq_epi32(alpha, zero);
            const __m128i solid = _mm_cmpeq_epi32(alpha, opaque);
            const int clearMask = _mm_movemask_epi8(clear), solidMask = _mm_movemask_epi8(solid);
            if (clearMask == 0xffff) continue;
            if (solidMask == 0xffff) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(d), src);
                continue;
            }
            const __m128i dst = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
            auto mixTwo = [&](__m128i sourceLanes, __m128i targetLanes) {
                const __m128i a = alphaOf(sourceLanes);
                const __m128i mixedSource =
                    _mm_srli_epi16(_mm_mullo_epi16(sourceLanes, _mm_or_si128(a, kAlphaLanes)), 8);
                const __m128i mixedTarget = _mm_srli_epi16(_mm_mullo_epi16(targetLanes, _mm_xor_si128(a, k255)), 8);
                return _mm_add_epi16(mixedSource, mixedTarget);
            };
            const __m128i mixed = _mm_packus_epi16(mixTwo(_mm_unpacklo_epi8(src, zero), _mm_unpacklo_epi8(dst, zero)),
                                                   mixTwo(_mm_unpackhi_epi8(src, zero), _mm_unpackhi_epi8(dst, zero)));
            // Clear pixels leave the target, opaque ones are copied, the rest mixed.
            const __m128i kept = _mm_or_si128(_mm_and_si128(clear, dst), _mm_and_si128(solid, src));
            const __m128i result = _mm_or_si128(kept, _mm_andnot_si128(_mm_or_si128(clear, solid), mixed));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d), result);
        }
#endif
        for (; x < to.w; ++x, s += 4, d += 4) {
            const uint32_t a = s[3];
            if (a == 0) continue;
            if (a == 255) {
                std::memcpy(d, s, 4);
                continue;
            }
            const uint32_t keep = 255 - a;
            for (int c = 0; c < 3; ++c) {
                const uint32_t mixed = ((s[c] * a) >> 8) + ((d[c] * keep) >> 8);
                d[c] = uint8_t(mixed > 255 ? 255 : mixed);
            }
            const uint32_t alpha = ((a * 255) >> 8) + ((d[3] * keep) >> 8);
            d[3] = uint8_t(alpha > 255 ? 255 : alpha);
        }
    }
}

namespace {

constexpr int kProbeSize = 32;

// Bytes running through every value, alpha included, with clear and opaque pixels among them.
std::vector<uint8_t> probePicture(unsigned seed) {
    std::vector<uint8_t> bytes(size_t(kProbeSize) * kProbeSize * 4);
    uint32_t state = seed;
    for (size_t i = 0; i < bytes.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        bytes[i] = uint8_t(state >> 24);
    }
    for (size_t i = 3; i < bytes.size(); i += 64)
        bytes[i] = 0;
    for (size_t i = 35; i < bytes.size(); i += 64)
        bytes[i] = 255;
    return bytes;
}

// The probe picture drawn by SDL's software renderer as an upright quad over the background,
// or empty when SDL cannot draw it.
std::vector<uint8_t> drawnBySdl(const std::vector<uint8_t>& picture, const std::vector<uint8_t>& background,
                                const SDL_Rect& to, SDL_Color tint, Uint32 textureFormat) {
    std::vector<uint8_t> result;
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, kProbeSize * 2, kProbeSize * 2, 32, SDL_PIXELFORMAT_RGBA32);
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(picture.data()), kProbeSize,
                                                             kProbeSize, 32, kProbeSize * 4, SDL_PIXELFORMAT_RGBA32);
    SDL_Renderer* renderer = target ? SDL_CreateSoftwareRenderer(target) : nullptr;
    SDL_Surface* converted = source ? SDL_ConvertSurfaceFormat(source, textureFormat, 0) : nullptr;
    SDL_Texture* texture = renderer && converted ? SDL_CreateTextureFromSurface(renderer, converted) : nullptr;
    Uint32 madeFormat = 0;
    if (texture &&
        (SDL_QueryTexture(texture, &madeFormat, nullptr, nullptr, nullptr) != 0 || madeFormat != textureFormat)) {
        SDL_DestroyTexture(texture);
        texture = nullptr;
    }
    if (texture) {
        for (int y = 0; y < target->h; ++y) {
            std::memcpy(static_cast<uint8_t*>(target->pixels) + size_t(y) * size_t(target->pitch),
                        background.data() + size_t(y) * size_t(target->w) * 4, size_t(target->w) * 4);
        }
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
        const float x0 = float(to.x), y0 = float(to.y), x1 = float(to.x + to.w), y1 = float(to.y + to.h);
        const SDL_Vertex vertices[4] = {
            {{x0, y0}, tint, {0, 0}}, {{x1, y0}, tint, {1, 0}}, {{x1, y1}, tint, {1, 1}}, {{x0, y1}, tint, {0, 1}}};
        const int indices[6] = {0, 1, 2, 0, 2, 3};
        if (SDL_RenderGeometry(renderer, texture, vertices, 4, indices, 6) == 0 && SDL_RenderFlush(renderer) == 0) {
            for (int y = 0; y < target->h; ++y) {
                const auto* row = static_cast<const uint8_t*>(target->pixels) + size_t(y) * size_t(target->pitch);
                result.insert(result.end(), row, row + size_t(target->w) * 4);
            }
        }
    }
    if (texture) SDL_DestroyTexture(texture);
    if (renderer) SDL_DestroyRenderer(renderer);
    if (converted) SDL_FreeSurface(converted);
    if (source) SDL_FreeSurface(source);
    if (target) SDL_FreeSurface(target);
    return result;
}

// The same drawing done by `blend` on a copy of the background.
template <typename Blend> std::vector<uint8_t> drawnHere(const std::vector<uint8_t>& background, Blend blend) {
    std::vector<uint8_t> bytes = background;
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormatFrom(bytes.data(), kProbeSize * 2, kProbeSize * 2, 32,
                                                             kProbeSize * 8, SDL_PIXELFORMAT_RGBA32);
    if (!target) return {};
    blend(target);
    SDL_FreeSurface(target);
    return bytes;
}

} // namespace

const SdlBlendMatch& sdlBlendMatch() {
    static SdlBlendMatch match;
    static std::once_flag once;
    std::call_once(once, [] {
        const std::vector<uint8_t> picture = probePicture(7);
        std::vector<uint8_t> background = probePicture(11);
        background.resize(size_t(kProbeSize) * kProbeSize * 16);
        for (size_t i = size_t(kProbeSize) * kProbeSize * 4; i < background.size(); ++i)
            background[i] = uint8_t(i * 7 + i / 300);
        const RgbaPixels source{picture.data(), kProbeSize, kProbeSize, size_t(kProbeSize) * 4};
        const SDL_Rect whole{0, 0, kProbeSize, kProbeSize};

        bool stretched = true;
        const struct {
            SDL_Rect to;
            SDL_Color tint;
        } stretches[] = {{{3, 5, 45, 21}, {255, 255, 255, 255}},
                         {{1, 2, 17, 50}, {200, 120, 40, 170}},
                         {{9, 7, kProbeSize, kProbeSize}, {255, 220, 0, 255}},
                         {{0, 0, kProbeSize, kProbeSize}, {255, 255, 255, 90}}};
        // Pictures come as RGBA textures, rendered text as ARGB ones.
        for (const Uint32 format : {Uint32(SDL_PIXELFORMAT_RGBA32), Uint32(SDL_PIXELFORMAT_ARGB8888)}) {
            for (const auto& stretch : stretches) {
                const std::vector<uint8_t> sdl = drawnBySdl(picture, background, stretch.to, stretch.tint, format);
                const std::vector<uint8_t> here = drawnHere(background, [&](SDL_Surface* target) {
                    blendStretched(source, whole, target, stretch.to, stretch.tint);
                });
                stretched = stretched && !sdl.empty() && sdl == here;
            }
        }
        const SDL_Rect to{13, 6, kProbeSize, kProbeSize};
        const std::vector<uint8_t> sdl =
            drawnBySdl(picture, background, to, {255, 255, 255, 255}, SDL_PIXELFORMAT_RGBA32);
        const std::vector<uint8_t> here =
            drawnHere(background, [&](SDL_Surface* target) { blendUnstretched(source, whole, target, to); });
        match.stretched = stretched;
        match.unstretched = !sdl.empty() && sdl == here;
        if (!match.stretched || !match.unstretched)
            platform::log(std::string("render: pictures are blended by SDL") +
                          (match.stretched ? " when drawn at their own size" : ""));
    });
    return match;
}

} // namespace platform::render
