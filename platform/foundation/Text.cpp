#include "platform/foundation/Text.h"

#include <algorithm>
#include <utility>

namespace platform {

namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Letters whose upper and lower case differ by a fixed amount over a range.
struct OffsetRange {
    char32_t upperFirst;
    char32_t upperLast;
    char32_t delta; // lower = upper + delta
};
constexpr OffsetRange kOffsetRanges[] = {
    {0x0041, 0x005A, 32}, {0x00C0, 0x00D6, 32}, {0x00D8, 0x00DE, 32}, {0x0388, 0x038A, 37}, {0x038E, 0x038F, 63},
    {0x0391, 0x03A1, 32}, {0x03A3, 0x03AB, 32}, {0x0400, 0x040F, 80}, {0x0410, 0x042F, 32},
};

// Ranges where upper and lower case alternate: first is an upper-case letter,
// the next code point its lower case, and so on up to last.
struct AlternatingRange {
    char32_t first;
    char32_t last;
};
constexpr AlternatingRange kAlternatingRanges[] = {
    {0x0100, 0x012F}, {0x0132, 0x0137}, {0x0139, 0x0148}, {0x014A, 0x0177}, {0x0179, 0x017E}, {0x0182, 0x0185},
    {0x0187, 0x0188}, {0x018B, 0x018C}, {0x0191, 0x0192}, {0x0198, 0x0199}, {0x01A0, 0x01A5}, {0x01A7, 0x01A8},
    {0x01AC, 0x01AD}, {0x01AF, 0x01B0}, {0x01B3, 0x01B6}, {0x01B8, 0x01B9}, {0x01BC, 0x01BD}, {0x01CD, 0x01DC},
    {0x01DE, 0x01EF}, {0x01F4, 0x01F5}, {0x01F8, 0x021F}, {0x0222, 0x0233}, {0x023B, 0x023C}, {0x0241, 0x0242},
    {0x0246, 0x024F}, {0x0370, 0x0373}, {0x0376, 0x0377}, {0x03D8, 0x03EF}, {0x03F7, 0x03F8}, {0x03FA, 0x03FB},
    {0x0460, 0x0481}, {0x048A, 0x04BF}, {0x04C1, 0x04CE}, {0x04D0, 0x052F}, {0x1E00, 0x1E95}, {0x1EA0, 0x1EFF},
};

// Pairs with no pattern: upper, lower.
constexpr std::pair<char32_t, char32_t> kIrregularPairs[] = {
    {0x0178, 0x00FF}, {0x0181, 0x0253}, {0x0186, 0x0254}, {0x0189, 0x0256}, {0x018A, 0x0257}, {0x018E, 0x01DD},
    {0x018F, 0x0259}, {0x0190, 0x025B}, {0x0193, 0x0260}, {0x0194, 0x0263}, {0x0196, 0x0269}, {0x0197, 0x0268},
    {0x019C, 0x026F}, {0x019D, 0x0272}, {0x019F, 0x0275}, {0x01A6, 0x0280}, {0x01A9, 0x0283}, {0x01AE, 0x0288},
    {0x01B1, 0x028A}, {0x01B2, 0x028B}, {0x01B7, 0x0292}, {0x01C4, 0x01C6}, {0x01C7, 0x01C9}, {0x01CA, 0x01CC},
    {0x01F1, 0x01F3}, {0x01F6, 0x0195}, {0x01F7, 0x01BF}, {0x0220, 0x019E}, {0x023A, 0x2C65}, {0x023D, 0x019A},
    {0x023E, 0x2C66}, {0x0243, 0x0180}, {0x0244, 0x0289}, {0x0245, 0x028C}, {0x0386, 0x03AC}, {0x038C, 0x03CC},
    {0x04C0, 0x04CF},
};

// Mappings that only go one way (the reverse is another letter).
constexpr std::pair<char32_t, char32_t> kUpperOnly[] = {
    {0x00B5, 0x039C}, {0x0131, 0x0049}, {0x017F, 0x0053}, {0x03C2, 0x03A3}, {0x1E9B, 0x1E60},
};
constexpr std::pair<char32_t, char32_t> kLowerOnly[] = {
    {0x0130, 0x0069},
    {0x1E9E, 0x00DF},
};

// The title-case forms of the digraphs Dž, Lj, Nj and Dz sit between their upper
// and lower forms.
bool isTitleDigraph(char32_t c) {
    return c == 0x01C5 || c == 0x01C8 || c == 0x01CB || c == 0x01F2;
}

// Byte range [begin, end) of the UTF-16 units [location, location + length),
// widened to whole characters and clamped to the text.
std::pair<size_t, size_t> utf16RangeToBytes(std::string_view text, size_t location, size_t length) {
    size_t end = length > SIZE_MAX - location ? SIZE_MAX : location + length;
    size_t units = 0;
    size_t offset = 0;
    size_t beginByte = text.size();
    size_t endByte = text.size();
    bool beginFound = false;
    while (offset < text.size()) {
        size_t start = offset;
        char32_t c = nextCharacter(text, offset);
        size_t width = c > 0xFFFF ? 2 : 1;
        if (!beginFound && units + width > location) {
            beginByte = start;
            beginFound = true;
        }
        if (units >= end) {
            endByte = start;
            break;
        }
        units += width;
    }
    if (!beginFound) return {text.size(), text.size()};
    return {beginByte, std::max(beginByte, endByte)};
}

} // namespace

char32_t nextCharacter(std::string_view text, size_t& offset) {
    if (offset >= text.size()) return 0;
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(offset);
    if (lead < 0x80) {
        ++offset;
        return lead;
    }
    size_t length;
    char32_t c;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        c = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        c = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        c = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++offset;
        return kReplacementCharacter;
    }
    if (offset + length > text.size()) {
        ++offset;
        return kReplacementCharacter;
    }
    for (size_t i = 1; i < length; ++i) {
        unsigned char b = byte(offset + i);
        if (!isContinuation(b)) {
            ++offset;
            return kReplacementCharacter;
        }
        c = (c << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++offset;
        return kReplacementCharacter;
    }
    offset += length;
    return c;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacementCharacter;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

std::u32string toUtf32(std::string_view text) {
    std::u32string out;
    size_t offset = 0;
    while (offset < text.size())
        out += nextCharacter(text, offset);
    return out;
}

std::string fromUtf32(std::u32string_view characters) {
    std::string out;
    for (char32_t c : characters)
        appendUtf8(out, c);
    return out;
}

std::u16string toUtf16(std::string_view text) {
    std::u16string out;
    size_t offset = 0;
    while (offset < text.size()) {
        char32_t c = nextCharacter(text, offset);
        if (c > 0xFFFF) {
            c -= 0x10000;
            out += char16_t(0xD800 + (c >> 10));
            out += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            out += char16_t(c);
        }
    }
    return out;
}

std::string fromUtf16(std::u16string_view units) {
    std::string out;
    for (size_t i = 0; i < units.size(); ++i) {
        char32_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else {
            appendUtf8(out, u); // a lone surrogate is written as U+FFFD
        }
    }
    return out;
}

bool isValidUtf8(std::string_view text) {
    size_t offset = 0;
    while (offset < text.size()) {
        size_t before = offset;
        char32_t c = nextCharacter(text, offset);
        // A genuine U+FFFD takes three bytes; a replacement for a bad byte takes one.
        if (c == kReplacementCharacter && offset - before == 1) return false;
    }
    return true;
}

char32_t toUpperCharacter(char32_t c) {
    if (c < 0x80) return (c >= 'a' && c <= 'z') ? c - 32 : c;
    for (auto& r : kOffsetRanges)
        if (c >= r.upperFirst + r.delta && c <= r.upperLast + r.delta) return c - r.delta;
    for (auto& r : kAlternatingRanges)
        if (c >= r.first && c <= r.last) return (c - r.first) % 2 == 1 ? c - 1 : c;
    if (isTitleDigraph(c)) return c - 1;
    for (auto& p : kIrregularPairs)
        if (p.second == c) return p.first;
    for (auto& p : kUpperOnly)
        if (p.first == c) return p.second;
    return c;
}

char32_t toLowerCharacter(char32_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    for (auto& r : kOffsetRanges)
        if (c >= r.upperFirst && c <= r.upperLast) return c + r.delta;
    for (auto& r : kAlternatingRanges)
        if (c >= r.first && c <= r.last) return (c - r.first) % 2 == 0 ? c + 1 : c;
    if (isTitleDigraph(c)) return c + 1;
    for (auto& p : kIrregularPairs)
        if (p.first == c) return p.second;
    for (auto& p : kLowerOnly)
        if (p.first == c) return p.second;
    return c;
}

std::string toUpper(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t offset = 0;
    while (offset < text.size())
        appendUtf8(out, toUpperCharacter(nextCharacter(text, offset)));
    return out;
}

std::string toLower(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    size_t offset = 0;
    while (offset < text.size())
        appendUtf8(out, toLowerCharacter(nextCharacter(text, offset)));
    return out;
}

size_t characterCount(std::string_view text) {
    size_t count = 0;
    size_t offset = 0;
    while (offset < text.size()) {
        nextCharacter(text, offset);
        ++count;
    }
    return count;
}

size_t characterIndexToByteOffset(std::string_view text, size_t index) {
    size_t offset = 0;
    for (size_t i = 0; i < index && offset < text.size(); ++i)
        nextCharacter(text, offset);
    return offset;
}

std::string substringByCharacters(std::string_view text, size_t start, size_t count) {
    size_t begin = characterIndexToByteOffset(text, start);
    size_t end = begin + characterIndexToByteOffset(text.substr(begin), count);
    return std::string(text.substr(begin, end - begin));
}

std::string removeCharacters(std::string_view text, size_t start, size_t count) {
    size_t begin = characterIndexToByteOffset(text, start);
    size_t end = begin + characterIndexToByteOffset(text.substr(begin), count);
    return std::string(text.substr(0, begin)) + std::string(text.substr(end));
}

size_t utf16Length(std::string_view text) {
    size_t units = 0;
    size_t offset = 0;
    while (offset < text.size())
        units += nextCharacter(text, offset) > 0xFFFF ? 2 : 1;
    return units;
}

std::string prefixUtf16(std::string_view text, size_t maxUnits) {
    size_t units = 0;
    size_t offset = 0;
    while (offset < text.size()) {
        size_t next = offset;
        const size_t width = nextCharacter(text, next) > 0xFFFF ? 2 : 1;
        if (units + width > maxUnits) break;
        units += width;
        offset = next;
    }
    return std::string(text.substr(0, offset));
}

std::optional<size_t> utf16IndexToByteOffset(std::string_view text, size_t index) {
    size_t units = 0;
    size_t offset = 0;
    while (units < index && offset < text.size())
        units += nextCharacter(text, offset) > 0xFFFF ? 2 : 1;
    if (units != index) return std::nullopt;
    return offset;
}

std::string removeUtf16Range(std::string_view text, size_t location, size_t length) {
    return replaceUtf16Range(text, location, length, {});
}

std::string replaceUtf16Range(std::string_view text, size_t location, size_t length, std::string_view replacement) {
    auto [begin, end] = utf16RangeToBytes(text, location, length);
    std::string out(text.substr(0, begin));
    out += replacement;
    out += text.substr(end);
    return out;
}

bool isWhitespaceCharacter(char32_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == 0x85 || c == 0xA0 ||
           c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
           c == 0x3000;
}

std::string trimWhitespace(std::string_view text) {
    size_t begin = 0;
    size_t offset = 0;
    size_t end = 0;
    bool seenText = false;
    while (offset < text.size()) {
        size_t start = offset;
        char32_t c = nextCharacter(text, offset);
        if (isWhitespaceCharacter(c)) continue;
        if (!seenText) {
            begin = start;
            seenText = true;
        }
        end = offset;
    }
    if (!seenText) return {};
    return std::string(text.substr(begin, end - begin));
}

} // namespace platform
