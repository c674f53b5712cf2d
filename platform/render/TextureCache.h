#pragma once

#include "platform/render/PixelBlend.h"

#include <SDL.h>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace platform::render {

// Textures made for one SDL_Renderer (textures cannot move between renderers), kept
// while they are drawn: a texture not used during a whole frame is released at the
// end of the next one, so text that changed or images that went away do not pile up.
class TextureCache {
public:
    explicit TextureCache(SDL_Renderer* renderer) : renderer_(renderer) {}
    ~TextureCache();
    TextureCache(const TextureCache&) = delete;
    TextureCache& operator=(const TextureCache&) = delete;

    // The cache key: an owner (an image, or a font handle) and a text (empty for images).
    using Key = std::pair<const void*, std::string>;

    // The texture stored under `key`, or nullptr. `life` is the owner's lifetime when
    // the owner is an object that may die and have its address reused (an image).
    SDL_Texture* find(const Key& key, const std::weak_ptr<const void>& life = {});
    // Makes a texture from the surface (the surface stays the caller's) and keeps it; with
    // `keepPixels`, a copy of the surface's pixels in RGBA order is kept beside it.
    SDL_Texture* insert(const Key& key, SDL_Surface* surface, const std::weak_ptr<const void>& life = {},
                        bool keepPixels = false);
    // The pixels kept for `key`'s texture; empty (no bytes) when none were kept.
    RgbaPixels pixels(const Key& key) const;

    // True when every pixel of the texture is fully opaque: drawn unfaded it may be copied
    // rather than blended, which gives the same pixels at a fraction of the cost.
    static bool isOpaque(SDL_Texture* texture);

    // Ends a frame: releases what was not used since the previous call.
    void endFrame();
    size_t size() const { return entries_.size(); }
    SDL_Renderer* renderer() const { return renderer_; }

private:
    struct Entry {
        SDL_Texture* texture = nullptr;
        std::weak_ptr<const void> life;
        bool tracksLife = false;
        bool used = true;
        std::vector<uint8_t> rgba;
        int width = 0;
        int height = 0;
    };
    SDL_Renderer* renderer_;
    std::map<Key, Entry> entries_;
};

} // namespace platform::render
