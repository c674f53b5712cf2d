#include "platform/render/TextureCache.h"

#include "platform/runtime/Log.h"

#include <algorithm>

namespace platform::render {

namespace {

// True when `life` refers to no object at all (an empty weak pointer) rather than to
// one that has died.
bool isUnset(const std::weak_ptr<const void>& life) {
    const std::weak_ptr<const void> empty;
    return !life.owner_before(empty) && !empty.owner_before(life);
}

} // namespace

TextureCache::~TextureCache() {
    for (auto& [key, entry] : entries_)
        SDL_DestroyTexture(entry.texture);
}

SDL_Texture* TextureCache::find(const Key& key, const std::weak_ptr<const void>& life) {
    auto it = entries_.find(key);
    if (it == entries_.end()) return nullptr;
    Entry& entry = it->second;
    // Same address, different object: the old image died and a new one took its place.
    const bool sameOwner = !entry.tracksLife ||
                           (!entry.life.expired() && !entry.life.owner_before(life) && !life.owner_before(entry.life));
    if (!sameOwner) {
        SDL_DestroyTexture(entry.texture);
        entries_.erase(it);
        return nullptr;
    }
    entry.used = true;
    return entry.texture;
}

namespace {

char kOpaqueMark;

bool surfaceIsOpaque(SDL_Surface* surface) {
    if (surface->format->format != SDL_PIXELFORMAT_RGBA32) return false;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
    bool opaque = true;
    const auto* bytes = static_cast<const uint8_t*>(surface->pixels);
    for (int y = 0; y < surface->h && opaque; ++y) {
        const uint8_t* row = bytes + size_t(y) * size_t(surface->pitch);
        for (int x = 0; x < surface->w; ++x) {
            if (row[size_t(x) * 4 + 3] != 255) {
                opaque = false;
                break;
            }
        }
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    return opaque;
}

} // namespace

bool TextureCache::isOpaque(SDL_Texture* texture) {
    return texture && SDL_GetTextureUserData(texture) == &kOpaqueMark;
}

SDL_Texture* TextureCache::insert(const Key& key, SDL_Surface* surface, const std::weak_ptr<const void>& life,
                                  bool keepPixels) {
    if (!surface) return nullptr;
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer_, surface);
    if (!texture) {
        platform::log(std::string("render: texture failed: ") + SDL_GetError());
        return nullptr;
    }
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    if (surfaceIsOpaque(surface)) SDL_SetTextureUserData(texture, &kOpaqueMark);
    auto it = entries_.find(key);
    if (it != entries_.end()) {
        SDL_DestroyTexture(it->second.texture);
        entries_.erase(it);
    }
    Entry entry;
    entry.texture = texture;
    entry.life = life;
    entry.tracksLife = !isUnset(life);
    if (keepPixels) {
        if (SDL_Surface* rgba = SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_RGBA32, 0)) {
            if (!SDL_MUSTLOCK(rgba) || SDL_LockSurface(rgba) == 0) {
                const size_t rowBytes = size_t(rgba->w) * 4;
                entry.rgba.resize(rowBytes * size_t(rgba->h));
                for (int y = 0; y < rgba->h; ++y) {
                    const auto* row = static_cast<const uint8_t*>(rgba->pixels) + size_t(y) * size_t(rgba->pitch);
                    std::copy(row, row + rowBytes, entry.rgba.begin() + long(size_t(y) * rowBytes));
                }
                entry.width = rgba->w;
                entry.height = rgba->h;
                if (SDL_MUSTLOCK(rgba)) SDL_UnlockSurface(rgba);
            }
            SDL_FreeSurface(rgba);
        }
    }
    entries_.emplace(key, std::move(entry));
    return texture;
}

RgbaPixels TextureCache::pixels(const Key& key) const {
    const auto it = entries_.find(key);
    if (it == entries_.end() || it->second.rgba.empty()) return {};
    const Entry& entry = it->second;
    return {entry.rgba.data(), entry.width, entry.height, size_t(entry.width) * 4};
}

void TextureCache::endFrame() {
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (!it->second.used) {
            SDL_DestroyTexture(it->second.texture);
            it = entries_.erase(it);
        } else {
            it->second.used = false;
            ++it;
        }
    }
}

} // namespace platform::render
