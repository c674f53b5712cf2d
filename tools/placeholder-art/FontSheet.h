#pragma once

#include <SDL.h>
#include <string>

// The glyphs' fill and the dark edge around them.
struct SheetColors {
    SDL_Color fill;
    SDL_Color edge;
};

// The gold of "font_kavo.png", the sheet the bitmap-font labels cut their glyphs from.
inline constexpr SheetColors kGoldSheet{{255, 214, 80, 255}, {70, 30, 0, 255}};
// The sea blue of "sea.png", the sheet the lottery's labels name.
inline constexpr SheetColors kSeaSheet{{150, 225, 255, 255}, {10, 40, 90, 255}};

// Draws a bitmap-font sheet in the colours: every character of the font's table in its
// 36 x 60 cell, squeezed or centred into the first w pixels of the cell, w being the width
// the table gives it. False when the sheet cannot be drawn or written.
bool drawFontSheet(const std::string& path, const SheetColors& colors);
