#include "FontSheet.h"

#include "app/widgets/CustomUIFontTable.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>
#include <algorithm>
#include <cstdio>

namespace {

namespace font = kavo::bitmapfont;

constexpr const char* kBoldFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
constexpr int kPointSize = 34;
constexpr int kOutline = 2;
// Where the baseline sits in a cell: room above for stacked accents, below for descenders.
constexpr int kBaseline = 44;

std::string utf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
    return out;
}

// The glyph with its dark edge, and how far its baseline lies below the top.
SDL_Surface* renderGlyph(TTF_Font* fill, TTF_Font* edge, const std::string& text, const SheetColors& colors,
                         int& baseline) {
    SDL_Surface* inner = TTF_RenderUTF8_Blended(fill, text.c_str(), colors.fill);
    SDL_Surface* outer = TTF_RenderUTF8_Blended(edge, text.c_str(), colors.edge);
    SDL_Surface* glyph = nullptr;
    if (inner && outer) {
        glyph = SDL_CreateRGBSurfaceWithFormat(0, outer->w, outer->h, 32, SDL_PIXELFORMAT_RGBA32);
        if (glyph) {
            SDL_FillRect(glyph, nullptr, SDL_MapRGBA(glyph->format, 0, 0, 0, 0));
            SDL_SetSurfaceBlendMode(outer, SDL_BLENDMODE_BLEND);
            SDL_SetSurfaceBlendMode(inner, SDL_BLENDMODE_BLEND);
            SDL_BlitSurface(outer, nullptr, glyph, nullptr);
            SDL_Rect at{kOutline, kOutline, inner->w, inner->h};
            SDL_BlitSurface(inner, nullptr, glyph, &at);
            // A glyph taller than the font grows upwards: the baseline stays above the descent.
            baseline = kOutline + inner->h + TTF_FontDescent(fill);
        }
    }
    SDL_FreeSurface(inner);
    SDL_FreeSurface(outer);
    return glyph;
}

} // namespace

bool drawFontSheet(const std::string& path, const SheetColors& colors) {
    const int rows = (font::kCharacterCount + font::kCellsPerRow - 1) / font::kCellsPerRow;
    SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, font::kCellsPerRow * font::kCellWidth,
                                                        rows * font::kCellHeight, 32, SDL_PIXELFORMAT_RGBA32);
    TTF_Font* fill = TTF_OpenFont(kBoldFontPath, kPointSize);
    TTF_Font* edge = TTF_OpenFont(kBoldFontPath, kPointSize);
    bool ok = sheet && fill && edge;
    if (ok) {
        SDL_FillRect(sheet, nullptr, SDL_MapRGBA(sheet->format, 0, 0, 0, 0));
        TTF_SetFontOutline(edge, kOutline);
        for (int i = 0; i < font::kCharacterCount; ++i) {
            const int width = font::widthAtIndex(i);
            const int cellX = (i % font::kCellsPerRow) * font::kCellWidth;
            const int cellY = (i / font::kCellsPerRow) * font::kCellHeight;
            int baseline = 0;
            SDL_Surface* glyph = renderGlyph(fill, edge, utf8(font::kCharacters[size_t(i)]), colors, baseline);
            if (!glyph) continue; // the blank has nothing to draw
            // Squeezed when wider than its table width, else centred in it; never past it.
            const int drawnWidth = std::min(glyph->w, width);
            SDL_Rect to{cellX + (width - drawnWidth) / 2, cellY + kBaseline - baseline, drawnWidth, glyph->h};
            SDL_SetSurfaceBlendMode(glyph, SDL_BLENDMODE_BLEND);
            SDL_SetClipRect(sheet, nullptr);
            SDL_Rect cell{cellX, cellY, width, font::kCellHeight};
            SDL_SetClipRect(sheet, &cell);
            SDL_BlitScaled(glyph, nullptr, sheet, &to);
            SDL_FreeSurface(glyph);
        }
        SDL_SetClipRect(sheet, nullptr);
        ok = IMG_SavePNG(sheet, path.c_str()) == 0;
        if (!ok) std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), IMG_GetError());
    } else {
        std::fprintf(stderr, "cannot draw the font sheet: %s\n", TTF_GetError());
    }
    if (fill) TTF_CloseFont(fill);
    if (edge) TTF_CloseFont(edge);
    SDL_FreeSurface(sheet);
    return ok;
}
