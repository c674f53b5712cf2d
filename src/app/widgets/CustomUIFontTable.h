#pragma once

// The portal's bitmap font: which character sits in which cell of the sprite sheet
// "font_kavo.png" and how many pixels of its cell the glyph takes. The label reads it to
// cut glyphs; the placeholder-art tool reads it to draw the sheet, so the two always agree.
// Plain data with no dependencies, so the tool can include it on its own.

#include <array>
#include <cstdint>

namespace kavo::bitmapfont {

// Cell size in sheet pixels, and cells per sheet row.
inline constexpr int kCellWidth = 36;
inline constexpr int kCellHeight = 60;
inline constexpr int kCellsPerRow = 16;
// The size the sheet is drawn at: a label of size 42 shows glyphs at scale 1.
inline constexpr int kNaturalSize = 42;

inline constexpr int kCharacterCount = 229;

// The characters in sheet order (each one precomposed code point).
// clang-format off
inline constexpr std::array<char32_t, kCharacterCount> kCharacters = {
    U' ', U'0', U'1', U'2', U'3', U'4', U'5', U'6', U'7', U'8', U'9', U'.', U',', U':', U'!', U'?',  // row 0
    U'(', U')', U'+', U'*', U'<', U'>', U'/', U'-', U'%', U'a', U'b', U'c', U'd', U'e', U'f', U'g',  // row 1
    U'h', U'i', U'j', U'k', U'l', U'm', U'n', U'o', U'p', U'q', U'r', U's', U't', U'u', U'v', U'w',  // row 2
    U'x', U'y', U'z', U'á', U'à', U'ả', U'ã', U'ạ', U'ă', U'ắ', U'ằ', U'ẳ', U'ẵ', U'ặ', U'â', U'ấ',  // row 3
    U'ầ', U'ẩ', U'ẫ', U'ậ', U'é', U'è', U'ẻ', U'ẽ', U'ẹ', U'ê', U'ế', U'ề', U'ể', U'ễ', U'ệ', U'í',  // row 4
    U'ì', U'ỉ', U'ĩ', U'ị', U'ó', U'ò', U'ỏ', U'õ', U'ọ', U'ô', U'ố', U'ồ', U'ổ', U'ỗ', U'ộ', U'ơ',  // row 5
    U'ớ', U'ờ', U'ở', U'ỡ', U'ợ', U'ú', U'ù', U'ủ', U'ũ', U'ụ', U'ư', U'ứ', U'ừ', U'ử', U'ữ', U'ự',  // row 6
    U'ý', U'ỳ', U'ỷ', U'ỹ', U'ỵ', U'đ', U'A', U'B', U'C', U'D', U'E', U'F', U'G', U'H', U'I', U'J',  // row 7
    U'K', U'L', U'M', U'N', U'O', U'P', U'Q', U'R', U'S', U'T', U'U', U'V', U'W', U'X', U'Y', U'Z',  // row 8
    U'Đ', U'$', U'=', U'Á', U'À', U'Ả', U'Ã', U'Ạ', U'Ă', U'Ắ', U'Ằ', U'Ẳ', U'Ẵ', U'Ặ', U'Â', U'Ấ',  // row 9
    U'Ầ', U'Ẩ', U'Ẫ', U'Ậ', U'É', U'È', U'Ẻ', U'Ẽ', U'Ẹ', U'Ê', U'Ế', U'Ề', U'Ể', U'Ễ', U'Ệ', U'Í',  // row 10
    U'Ì', U'Ỉ', U'Ĩ', U'Ị', U'Ó', U'Ò', U'Ỏ', U'Õ', U'Ọ', U'Ô', U'Ố', U'Ồ', U'Ổ', U'Ỗ', U'Ộ', U'Ơ',  // row 11
    U'Ớ', U'Ờ', U'Ở', U'Ỡ', U'Ợ', U'Ú', U'Ù', U'Ủ', U'Ũ', U'Ụ', U'Ư', U'Ứ', U'Ừ', U'Ử', U'Ữ', U'Ự',  // row 12
    U'Ý', U'Ỳ', U'Ỷ', U'Ỹ', U'Ỵ', U'#', U'~', U'`', U';', U'[', U']', U'{', U'}', U'@', U'&', U'_',  // row 13
    U'^', U'\\', U'|', U'"', U'\'',  // row 14
};

// The width in sheet pixels of each glyph, in the same order.
inline constexpr std::array<uint8_t, kCharacterCount> kWidths = {
    18, 22, 20, 21, 21, 23, 20, 22, 21, 22, 22, 12, 12, 11, 10, 17,  // row 0
    12, 12, 23, 18, 21, 21, 14, 14, 33, 22, 22, 18, 22, 21, 17, 22,  // row 1
    21, 10, 13, 22, 11, 31, 21, 24, 22, 22, 15, 17, 16, 22, 22, 31,  // row 2
    22, 22, 20, 22, 22, 22, 22, 22, 22, 22, 22, 22, 22, 22, 22, 22,  // row 3
    22, 22, 22, 22, 21, 21, 21, 21, 21, 21, 23, 21, 22, 21, 21, 12,  // row 4
    13, 12, 14, 10, 24, 24, 24, 24, 24, 24, 25, 24, 24, 24, 24, 26,  // row 5
    26, 26, 26, 26, 26, 22, 22, 22, 22, 22, 25, 25, 25, 25, 25, 25,  // row 6
    22, 22, 22, 22, 22, 25, 27, 22, 23, 26, 20, 20, 26, 25, 10, 17,  // row 7
    24, 20, 31, 24, 28, 22, 28, 22, 21, 23, 24, 26, 35, 25, 25, 24,  // row 8
    28, 20, 23, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27, 27,  // row 9
    27, 27, 27, 27, 27, 27, 27, 27, 27, 23, 23, 23, 21, 27, 27, 13,  // row 10
    13, 12, 14, 10, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 28, 29,  // row 11
    29, 29, 29, 29, 29, 24, 24, 24, 24, 24, 29, 29, 29, 29, 29, 29,  // row 12
    25, 25, 25, 25, 25, 21, 23, 12, 13, 12, 12, 14, 14, 28, 27, 22,  // row 13
    22, 15,  8, 18, 12,  // row 14
};
// clang-format on

// Both lists are complete: a short list would end in silent zeros.
static_assert(kCharacters[kCharacterCount - 1] == U'\'' && kWidths[kCharacterCount - 1] == 12);

// The cell of a character, or -1 when the font has no such character.
constexpr int indexOfCharacter(char32_t character) {
    for (int i = 0; i < kCharacterCount; ++i)
        if (kCharacters[size_t(i)] == character) return i;
    return -1;
}

// The glyph width of a cell, or 0 outside the table.
constexpr int widthAtIndex(int index) {
    return index >= 0 && index < kCharacterCount ? kWidths[size_t(index)] : 0;
}

} // namespace kavo::bitmapfont
