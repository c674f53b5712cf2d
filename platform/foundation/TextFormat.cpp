#include "platform/foundation/TextFormat.h"

#include "platform/foundation/Text.h"
#include "platform/foundation/Value.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

namespace platform {

namespace {

// Widths and precisions are capped so that a pattern such as "%999999999d" costs nothing.
constexpr int kMaxWidth = 1000;
constexpr int kMaxPrecision = 100;

struct Placeholder {
    size_t position = 0; // 1-based, 0 when the next argument is meant
    bool leftAlign = false;
    bool zeroPad = false;
    bool plusSign = false;
    bool alternate = false;
    int width = 0;
    int precision = -1;
    char conversion = 0;
};

int readNumber(std::string_view pattern, size_t& j) {
    int value = 0;
    while (j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9') {
        value = std::min(value * 10 + (pattern[j] - '0'), kMaxWidth);
        ++j;
    }
    return value;
}

// Reads the placeholder that starts after the '%' at `j`; on success `j` is
// past the conversion letter.
bool parsePlaceholder(std::string_view pattern, size_t& j, Placeholder& placeholder) {
    size_t start = j;
    if (j < pattern.size() && pattern[j] >= '1' && pattern[j] <= '9') {
        int number = readNumber(pattern, j);
        if (j < pattern.size() && pattern[j] == '$') {
            placeholder.position = size_t(number);
            ++j;
        } else {
            j = start; // it was a width
        }
    }
    for (; j < pattern.size(); ++j) {
        char c = pattern[j];
        if (c == '-')
            placeholder.leftAlign = true;
        else if (c == '0')
            placeholder.zeroPad = true;
        else if (c == '+')
            placeholder.plusSign = true;
        else if (c == '#')
            placeholder.alternate = true;
        else
            break;
    }
    placeholder.width = readNumber(pattern, j);
    if (j < pattern.size() && pattern[j] == '.') {
        ++j;
        placeholder.precision = std::min(readNumber(pattern, j), kMaxPrecision);
    }
    while (j < pattern.size() && std::string_view("hlqzjtL").find(pattern[j]) != std::string_view::npos)
        ++j;
    if (j >= pattern.size()) return false;
    placeholder.conversion = pattern[j];
    if (std::string_view("@sSdiDuUxXcfFeEgG").find(placeholder.conversion) == std::string_view::npos) return false;
    ++j;
    return true;
}

// Pads `body` (with its sign or prefix in front) to the width in characters.
std::string pad(const std::string& sign, const std::string& body, const Placeholder& placeholder, bool numeric) {
    size_t length = characterCount(sign) + characterCount(body);
    size_t width = size_t(placeholder.width);
    if (length >= width) return sign + body;
    std::string fill(width - length, ' ');
    if (placeholder.leftAlign) return sign + body + fill;
    if (numeric && placeholder.zeroPad) return sign + std::string(width - length, '0') + body;
    return fill + sign + body;
}

std::string signOf(bool negative, const Placeholder& placeholder) {
    if (negative) return "-";
    if (placeholder.plusSign) return "+";
    return {};
}

std::string formatInteger(const FormatArg& arg, const Placeholder& placeholder) {
    int64_t value = arg.asInteger();
    char c = placeholder.conversion;
    bool isSigned = c == 'd' || c == 'i' || c == 'D';
    uint64_t magnitude = isSigned && value < 0 ? 0 - uint64_t(value) : uint64_t(value);
    int base = (c == 'x' || c == 'X') ? 16 : 10;
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, base);
    std::string digits(buffer, result.ptr);
    if (c == 'X')
        std::transform(digits.begin(), digits.end(), digits.begin(), [](char d) { return char(std::toupper(d)); });
    if (placeholder.precision >= 0 && digits.size() < size_t(placeholder.precision))
        digits.insert(0, size_t(placeholder.precision) - digits.size(), '0');
    std::string sign = isSigned ? signOf(value < 0, placeholder) : std::string();
    if (placeholder.alternate && base == 16 && magnitude != 0) sign += c == 'X' ? "0X" : "0x";
    Placeholder padding = placeholder;
    if (placeholder.precision >= 0) padding.zeroPad = false; // as printf: a precision turns the 0 flag off
    return pad(sign, digits, padding, true);
}

std::string formatRealArg(const FormatArg& arg, const Placeholder& placeholder) {
    double value = arg.asReal();
    char c = placeholder.conversion;
    bool upper = c == 'F' || c == 'E' || c == 'G';
    std::string sign = signOf(std::signbit(value) && !std::isnan(value), placeholder);
    double magnitude = std::fabs(value);
    std::string body;
    if (std::isnan(value) || std::isinf(value)) {
        body = std::isnan(value) ? "nan" : "inf";
        Placeholder padding = placeholder;
        padding.zeroPad = false;
        if (upper) std::transform(body.begin(), body.end(), body.begin(), [](char d) { return char(std::toupper(d)); });
        return pad(sign, body, padding, true);
    }
    int precision = placeholder.precision >= 0 ? placeholder.precision : 6;
    std::chars_format format = std::chars_format::fixed;
    if (c == 'e' || c == 'E') format = std::chars_format::scientific;
    if (c == 'g' || c == 'G') format = std::chars_format::general;
    char buffer[512]; // room for the widest fixed double (309 digits) and the precision cap
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, format, precision);
    body.assign(buffer, result.ec == std::errc() ? result.ptr : buffer);
    if (upper) std::transform(body.begin(), body.end(), body.begin(), [](char d) { return char(std::toupper(d)); });
    return pad(sign, body, placeholder, true);
}

std::string formatTextArg(const FormatArg& arg, const Placeholder& placeholder) {
    std::string text = arg.asText();
    if (placeholder.precision >= 0) text = substringByCharacters(text, 0, size_t(placeholder.precision));
    return pad({}, text, placeholder, false);
}

std::string formatCharacter(const FormatArg& arg, const Placeholder& placeholder) {
    int64_t code = arg.asInteger();
    std::string text;
    appendUtf8(text, code < 0 || code > 0x10FFFF ? kReplacementCharacter : char32_t(code));
    return pad({}, text, placeholder, false);
}

} // namespace

int64_t FormatArg::asInteger() const {
    switch (kind_) {
    case Kind::Integer:
        return integer_;
    case Kind::Real:
        return Value(real_).int64Value();
    case Kind::Text:
        return parseLeadingInteger(text_);
    }
    return 0;
}

double FormatArg::asReal() const {
    switch (kind_) {
    case Kind::Integer:
        return double(integer_);
    case Kind::Real:
        return real_;
    case Kind::Text:
        return parseLeadingReal(text_);
    }
    return 0;
}

std::string FormatArg::asText() const {
    switch (kind_) {
    case Kind::Integer:
        return std::to_string(integer_);
    case Kind::Real:
        return formatReal(real_);
    case Kind::Text:
        return text_;
    }
    return {};
}

std::string formatText(std::string_view pattern, std::initializer_list<FormatArg> args) {
    std::vector<const FormatArg*> list;
    for (auto& arg : args)
        list.push_back(&arg);
    std::string out;
    size_t next = 0;
    size_t i = 0;
    while (i < pattern.size()) {
        char c = pattern[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        size_t j = i + 1;
        Placeholder placeholder;
        if (!parsePlaceholder(pattern, j, placeholder)) {
            out += '%'; // not a placeholder we know: the rest is copied as plain text
            ++i;
            continue;
        }
        size_t index = placeholder.position > 0 ? placeholder.position - 1 : next;
        if (index >= list.size()) {
            out += pattern.substr(i, j - i); // no argument left: keep the placeholder as written
            i = j;
            continue;
        }
        next = index + 1;
        const FormatArg& arg = *list[index];
        switch (placeholder.conversion) {
        case '@':
        case 's':
        case 'S':
            out += formatTextArg(arg, placeholder);
            break;
        case 'c':
            out += formatCharacter(arg, placeholder);
            break;
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
            out += formatRealArg(arg, placeholder);
            break;
        default:
            out += formatInteger(arg, placeholder);
            break;
        }
        i = j;
    }
    return out;
}

} // namespace platform
