#pragma once

#include <SDL.h>
#include <cstddef>
#include <cstdint>

namespace platform::render {

// Pixels in R, G, B, A byte order, rows `pitch` bytes apart.
struct RgbaPixels {
    const uint8_t* bytes = nullptr;
    int width = 0;
    int height = 0;
    size_t pitch = 0;
};

// Blends `from` (a part of the source) over `to` on an RGBA32 surface, stretched to it,
// tinted by `tint` (colour and alpha multiply the source) with the arithmetic of SDL's
// software blitter for a stretched or tinted blend: nearest source pixel under each target
// pixel's centre, the source premultiplied, every product divided by 255 and rounded
// down. The caller keeps both rectangles inside their pixels.
void blendStretched(const RgbaPixels& source, const SDL_Rect& from, SDL_Surface* target, const SDL_Rect& to,
                    SDL_Color tint);

// Blends `from` over the same-sized `to` on an RGBA32 surface with the arithmetic of SDL's
// blitter for an untinted blend between two surfaces of that format: clear source pixels
// are skipped, opaque ones copied, the rest mixed with products shifted down by 8.
void blendUnstretched(const RgbaPixels& source, const SDL_Rect& from, SDL_Surface* target, const SDL_Rect& to);

// Which of the two blends give exactly the bytes that the SDL this process runs with gives,
// found once by drawing a test picture both ways (a different SDL may do its sums otherwise).
// `stretched` holds for RGBA and ARGB textures, `unstretched` for RGBA ones only.
struct SdlBlendMatch {
    bool stretched = false;
    bool unstretched = false;
};
const SdlBlendMatch& sdlBlendMatch();

} // namespace platform::render
