#include "platform/render/OffscreenTarget.h"

#include "platform/runtime/Log.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <utility>

namespace platform::render {

namespace {

// Offscreen targets may be made on any thread (a screenshot is), so the list is guarded.
std::mutex targetsMutex;
std::vector<std::pair<SDL_Renderer*, SDL_Surface*>> targets;

} // namespace

SDL_Surface* OffscreenTarget::surfaceOf(SDL_Renderer* renderer) {
    if (!renderer) return nullptr;
    std::lock_guard<std::mutex> lock(targetsMutex);
    for (const auto& [drawer, surface] : targets) {
        if (drawer == renderer) return surface;
    }
    return nullptr;
}

OffscreenTarget::OffscreenTarget(int width, int height) : width_(width), height_(height) {
    if (width <= 0 || height <= 0) return;
    surface_ = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
    if (!surface_) {
        platform::log(std::string("render: no offscreen surface: ") + SDL_GetError());
        return;
    }
    renderer_ = SDL_CreateSoftwareRenderer(surface_);
    if (!renderer_) {
        platform::log(std::string("render: no software renderer: ") + SDL_GetError());
        return;
    }
    SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_BLEND);
    std::lock_guard<std::mutex> lock(targetsMutex);
    targets.emplace_back(renderer_, surface_);
}

OffscreenTarget::~OffscreenTarget() {
    if (renderer_) {
        std::lock_guard<std::mutex> lock(targetsMutex);
        std::erase_if(targets, [this](const auto& entry) { return entry.first == renderer_; });
    }
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (surface_) SDL_FreeSurface(surface_);
}

std::vector<uint8_t> OffscreenTarget::rgbaPixels() {
    std::vector<uint8_t> pixels;
    if (!renderer_) return pixels;
    SDL_RenderFlush(renderer_);
    pixels.resize(size_t(width_) * size_t(height_) * 4);
    if (SDL_MUSTLOCK(surface_)) SDL_LockSurface(surface_);
    const auto* source = static_cast<const uint8_t*>(surface_->pixels);
    const size_t rowBytes = size_t(width_) * 4;
    for (int y = 0; y < height_; ++y) {
        std::memcpy(pixels.data() + size_t(y) * rowBytes, source + size_t(y) * size_t(surface_->pitch), rowBytes);
    }
    if (SDL_MUSTLOCK(surface_)) SDL_UnlockSurface(surface_);
    return pixels;
}

} // namespace platform::render
