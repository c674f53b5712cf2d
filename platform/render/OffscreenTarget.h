#pragma once

#include <SDL.h>
#include <cstdint>
#include <vector>

namespace platform::render {

// A software renderer drawing into a memory surface: needs no video device, so
// screenshots and tests work on a machine without a display.
class OffscreenTarget {
public:
    OffscreenTarget(int width, int height);
    ~OffscreenTarget();
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

    // False when SDL could not make the surface or the renderer (out of memory).
    bool isValid() const { return renderer_ != nullptr; }
    SDL_Renderer* renderer() const { return renderer_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // Finishes pending drawing and returns the pixels as RGBA bytes, row by row.
    std::vector<uint8_t> rgbaPixels();

    // The surface that `renderer` draws into when an OffscreenTarget made it, else nullptr.
    // Drawing that SDL's software renderer does slowly can then be done on the pixels.
    static SDL_Surface* surfaceOf(SDL_Renderer* renderer);

private:
    int width_;
    int height_;
    SDL_Surface* surface_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
};

} // namespace platform::render
