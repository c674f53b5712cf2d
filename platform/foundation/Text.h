#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// UTF-8 text helpers. Text is std::string holding UTF-8. Functions that walk
// characters treat each byte of an invalid sequence as one U+FFFD character, so
// no input makes them read out of bounds.

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the character at `offset` and moves `offset` past it. At the end of the
// text it returns 0 and leaves `offset` unchanged.
char32_t nextCharacter(std::string_view text, size_t& offset);
void appendUtf8(std::string& out, char32_t character);

std::u32string toUtf32(std::string_view text);
std::string fromUtf32(std::u32string_view characters);
std::u16string toUtf16(std::string_view text);
// Unpaired surrogates become U+FFFD.
std::string fromUtf16(std::u16string_view units);

bool isValidUtf8(std::string_view text);

// Case mapping of letters of Latin-1, Latin Extended-A and -B, Latin Extended
// Additional (all of Vietnamese), basic Greek and Cyrillic; others are unchanged.
char32_t toUpperCharacter(char32_t c);
char32_t toLowerCharacter(char32_t c);
std::string toUpper(std::string_view text);
std::string toLower(std::string_view text);

// Counts and positions in characters (code points).
size_t characterCount(std::string_view text);
// Byte offset of character `index`; the text's size when index is at or past the end.
size_t characterIndexToByteOffset(std::string_view text, size_t index);
// Up to `count` characters from character `start` (clamped to the text).
std::string substringByCharacters(std::string_view text, size_t start, size_t count = std::string_view::npos);
std::string removeCharacters(std::string_view text, size_t start, size_t count);

// Counts and positions in UTF-16 units, as text fields count: a character
// outside the Basic Multilingual Plane (an emoji) is two units.
size_t utf16Length(std::string_view text);
// Byte offset of UTF-16 unit `index`; nullopt when it is past the end or falls
// between the two units of one character.
std::optional<size_t> utf16IndexToByteOffset(std::string_view text, size_t index);
// Removes the units [location, location + length), clamped to the text and
// widened to whole characters.
std::string removeUtf16Range(std::string_view text, size_t location, size_t length);
// Replaces the units [location, location + length) with `replacement` (the same
// clamping and widening).
std::string replaceUtf16Range(std::string_view text, size_t location, size_t length, std::string_view replacement);
// The longest start of the text that is at most `maxUnits` UTF-16 units and ends on a
// whole character, so an emoji standing across the limit is left out, never halved.
std::string prefixUtf16(std::string_view text, size_t maxUnits);

// White space: ASCII blanks and line breaks, no-break and other Unicode spaces.
bool isWhitespaceCharacter(char32_t c);
std::string trimWhitespace(std::string_view text);

} // namespace platform
