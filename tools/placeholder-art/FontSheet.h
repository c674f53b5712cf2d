#pragma once

#include <string>

// Draws the bitmap-font sheet "font_kavo.png": every character of the font's table in its
// 36 x 60 cell, squeezed or centred into the first w pixels of the cell, w being the width
// the table gives it. False when the sheet cannot be drawn or written.
bool drawFontSheet(const std::string& path);
