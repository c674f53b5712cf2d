#include "CardArt.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>
#include <cstdio>
#include <string>

namespace {

// Drawn at the tablet size; the phone shows them at 50 x 65, where the rank corner
// stays readable.
constexpr int kWidth = 120;
constexpr int kHeight = 160;
constexpr int kRadius = 12;
constexpr const char* kBoldFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

constexpr const char* kRanks[13] = {"3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K", "A", "2"};
constexpr const char* kSuits[4] = {"\u2660", "\u2663", "\u2666", "\u2665"};

struct Back {
    const char* name;
    SDL_Color base;
    SDL_Color stripe;
};
constexpr Back kBacks[3] = {
    {"52.png", {30, 70, 160, 255}, {90, 140, 220, 255}},
    {"53.png", {160, 30, 40, 255}, {220, 110, 110, 255}},
    {"54.png", {90, 40, 130, 255}, {220, 180, 60, 255}},
};

bool insideRounded(int x, int y) {
    const int cx = x < kRadius ? kRadius : x > kWidth - 1 - kRadius ? kWidth - 1 - kRadius : x;
    const int cy = y < kRadius ? kRadius : y > kHeight - 1 - kRadius ? kHeight - 1 - kRadius : y;
    const int dx = x - cx, dy = y - cy;
    return dx * dx + dy * dy <= kRadius * kRadius;
}

void plot(SDL_Surface* s, int x, int y, SDL_Color c) {
    auto* row = static_cast<uint8_t*>(s->pixels) + y * s->pitch;
    reinterpret_cast<uint32_t*>(row)[x] = SDL_MapRGBA(s->format, c.r, c.g, c.b, c.a);
}

SDL_Surface* blankCard(SDL_Color fill, SDL_Color edge, const Back* pattern) {
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_RGBA32);
    if (!s) return nullptr;
    SDL_FillRect(s, nullptr, SDL_MapRGBA(s->format, 0, 0, 0, 0));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            if (!insideRounded(x, y)) continue;
            const bool border = !insideRounded(x - 2, y) || !insideRounded(x + 2, y) || !insideRounded(x, y - 2) ||
                                !insideRounded(x, y + 2);
            SDL_Color c = border ? edge : fill;
            // A back: diagonal stripes inside a frame.
            if (pattern && !border && x > 8 && y > 8 && x < kWidth - 9 && y < kHeight - 9)
                c = ((x + y) / 8) % 2 ? pattern->stripe : pattern->base;
            plot(s, x, y, c);
        }
    return s;
}

void text(SDL_Surface* s, const std::string& value, int size, SDL_Color color, int centreX, int centreY) {
    TTF_Font* font = TTF_OpenFont(kBoldFontPath, size);
    if (!font) return;
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, value.c_str(), color);
    if (rendered) {
        SDL_Rect at{centreX - rendered->w / 2, centreY - rendered->h / 2, rendered->w, rendered->h};
        SDL_SetSurfaceBlendMode(rendered, SDL_BLENDMODE_BLEND);
        SDL_BlitSurface(rendered, nullptr, s, &at);
        SDL_FreeSurface(rendered);
    }
    TTF_CloseFont(font);
}

bool save(SDL_Surface* s, const std::string& path) {
    if (!s) return false;
    const bool ok = IMG_SavePNG(s, path.c_str()) == 0;
    SDL_FreeSurface(s);
    if (!ok) std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), IMG_GetError());
    return ok;
}

} // namespace

int drawCards(const std::string& imagesDir) {
    int failures = 0;
    const SDL_Color white{252, 252, 248, 255};
    const SDL_Color edge{60, 60, 60, 255};
    for (int index = 0; index < 52; ++index) {
        const int rank = index / 4;
        const int suit = index % 4;
        const SDL_Color ink = suit > 1 ? SDL_Color{200, 20, 30, 255} : SDL_Color{20, 20, 20, 255};
        SDL_Surface* s = blankCard(white, edge, nullptr);
        if (s) {
            // The corner is large: at 50 x 65 it is what a player reads.
            text(s, kRanks[rank], rank == 7 ? 40 : 48, ink, 32, 34);
            text(s, kSuits[suit], 44, ink, 32, 80);
            text(s, kSuits[suit], 60, ink, 84, 118);
        }
        const std::string name = index == 0 ? "100.png" : std::to_string(index) + ".png";
        if (!save(s, imagesDir + "/" + name)) ++failures;
    }
    for (const auto& back : kBacks)
        if (!save(blankCard(white, edge, &back), imagesDir + "/" + back.name)) ++failures;
    return failures;
}
