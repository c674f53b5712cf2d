#include "sdk/socialnet/json/SNJsonParser.h"

#include "sdk/socialnet/json/SNArray.h"
#include "sdk/socialnet/json/SNDictionary.h"
#include "sdk/socialnet/json/SNUtf8.h"

#include <cstdio>
#include <cstring>

namespace socialnet {

namespace {

bool isWhitespace(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

std::string hexText(const char* format, unsigned value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

void appendUtf8(std::string& out, uint32_t codePoint) {
    if (codePoint < 0x80) {
        out.push_back(char(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(char(0xC0 | (codePoint >> 6)));
        out.push_back(char(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(char(0xE0 | (codePoint >> 12)));
        out.push_back(char(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(char(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (codePoint >> 18)));
        out.push_back(char(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(char(0x80 | (codePoint & 0x3F)));
    }
}

} // namespace

std::optional<SNValue> SNJsonParser::objectWithString(std::optional<std::string_view> text) {
    auto value = fragmentWithString(text);
    if (!value) return std::nullopt;
    if (!value->isDictionary() && !value->isArray()) {
        addErrorWithCode(kFragment, "Valid fragment, but not JSON");
        return std::nullopt;
    }
    return value;
}

std::optional<SNValue> SNJsonParser::fragmentWithString(std::optional<std::string_view> text) {
    clearErrorTrace();
    if (!text) {
        addErrorWithCode(kInput, "Input was 'nil'");
        return std::nullopt;
    }
    depth_ = 0;
    // The text ends at its first NUL byte, as a C string would.
    const char* data = text->data();
    const void* nul = std::memchr(data, 0, text->size());
    c_ = data;
    end_ = nul ? static_cast<const char*>(nul) : data + text->size();
    SNValue value;
    bool scanned = scanValue(value);
    if (scanned) {
        skipWhitespace();
        if (!atEnd()) {
            addErrorWithCode(kTrailingGarbage, "Garbage after JSON");
            scanned = false;
        }
    }
    c_ = end_ = nullptr;
    if (!scanned) return std::nullopt;
    return value;
}

void SNJsonParser::skipWhitespace() {
    while (!atEnd() && isWhitespace(peek()))
        ++c_;
}

bool SNJsonParser::scanLiteral(std::string_view rest, const char* failure) {
    if (size_t(end_ - c_) < rest.size() || std::string_view(c_, rest.size()) != rest) {
        addErrorWithCode(kParse, failure);
        return false;
    }
    c_ += rest.size();
    return true;
}

bool SNJsonParser::scanValue(SNValue& out) {
    skipWhitespace();
    if (atEnd()) {
        addErrorWithCode(kEndOfInput, "Unexpected end of string");
        return false;
    }
    unsigned char first = peek();
    switch (first) {
    case '"': {
        ++c_;
        std::string text;
        if (!scanRestOfString(text)) return false;
        out = SNValue(std::move(text));
        return true;
    }
    case '{':
        ++c_;
        return scanRestOfDictionary(out);
    case '[':
        ++c_;
        return scanRestOfArray(out);
    case 't':
        ++c_;
        if (!scanLiteral("rue", "Expected 'true'")) return false;
        out = SNValue(true);
        return true;
    case 'f':
        ++c_;
        if (!scanLiteral("alse", "Expected 'false'")) return false;
        out = SNValue(false);
        return true;
    case 'n':
        ++c_;
        if (!scanLiteral("ull", "Expected 'null'")) return false;
        out = SNValue();
        return true;
    case '+':
        addErrorWithCode(kParseNumber, "Leading + disallowed in number");
        return false;
    default:
        if (first == '-' || isDigit(first)) return scanNumber(out);
        addErrorWithCode(kParse, "Unrecognised leading character");
        return false;
    }
}

bool SNJsonParser::scanRestOfArray(SNValue& out) {
    if (!enterContainer()) return false;
    auto array = SNArray::make();
    array->reserve(8);
    while (!atEnd()) {
        skipWhitespace();
        if (peek() == ']') {
            ++c_;
            leaveContainer();
            out = SNValue(array);
            return true;
        }
        SNValue element;
        if (!scanValue(element)) {
            addErrorWithCode(kParse, "Expected value while parsing array");
            return false;
        }
        array->addObject(std::move(element));
        skipWhitespace();
        if (peek() == ',') {
            ++c_;
            skipWhitespace();
            if (peek() == ']') {
                addErrorWithCode(kTrailingComma, "Trailing comma disallowed in array");
                return false;
            }
        }
    }
    addErrorWithCode(kEndOfInput, "End of input while parsing array");
    return false;
}

bool SNJsonParser::scanRestOfDictionary(SNValue& out) {
    if (!enterContainer()) return false;
    auto dictionary = SNDictionary::make();
    while (!atEnd()) {
        skipWhitespace();
        if (peek() == '}') {
            ++c_;
            leaveContainer();
            out = SNValue(dictionary);
            return true;
        }
        std::string key;
        if (peek() != '"') {
            addErrorWithCode(kParse, "Object key string expected");
            return false;
        }
        ++c_;
        if (!scanRestOfString(key)) {
            addErrorWithCode(kParse, "Object key string expected");
            return false;
        }
        skipWhitespace();
        if (peek() != ':') {
            addErrorWithCode(kParse, "Expected ':' separating key and value");
            return false;
        }
        ++c_;
        SNValue value;
        if (!scanValue(value)) {
            addErrorWithCode(kParse, "Object value expected for key: " + key);
            return false;
        }
        dictionary->setObject(std::move(value), SNValue(std::move(key)));
        skipWhitespace();
        if (peek() == ',') {
            ++c_;
            skipWhitespace();
            if (peek() == '}') {
                addErrorWithCode(kTrailingComma, "Trailing comma disallowed in object");
                return false;
            }
        }
    }
    addErrorWithCode(kEndOfInput, "End of input while parsing object");
    return false;
}

bool SNJsonParser::scanRestOfString(std::string& out) {
    out.reserve(16);
    do {
        const char* runStart = c_;
        while (!atEnd() && peek() != '"' && peek() != '\\' && peek() >= 0x20)
            ++c_;
        if (c_ != runStart) {
            // The run must be well-formed UTF-8; its first bad byte is reported like
            // a control byte rather than kept as text that is not text.
            auto* bytes = reinterpret_cast<const unsigned char*>(runStart);
            size_t length = size_t(c_ - runStart);
            for (size_t i = 0; i < length;) {
                size_t n = utf8SequenceLength(bytes + i, length - i);
                if (n == 0) {
                    addErrorWithCode(kControlCharacter, hexText("Unescaped control character '0x%x'", bytes[i]));
                    return false;
                }
                i += n;
            }
            out.append(runStart, length);
        }
        unsigned char stop = peek();
        if (stop == '"') {
            ++c_;
            return true;
        }
        if (stop == '\\') {
            ++c_;
            // The escape byte is taken as a signed byte widened to 16 bits, so a byte
            // from 0x80 up shows as 0xff80 and up.
            uint16_t escape = uint16_t(int16_t(static_cast<signed char>(peek())));
            uint32_t character = escape;
            switch (escape) {
            case '"':
            case '\\':
            case '/':
                break;
            case 'b':
                character = 0x08;
                break;
            case 'f':
                character = 0x0C;
                break;
            case 'n':
                character = 0x0A;
                break;
            case 'r':
                character = 0x0D;
                break;
            case 't':
                character = 0x09;
                break;
            case 'u':
                ++c_;
                if (!scanUnicodeChar(character)) {
                    addErrorWithCode(kUnicode, "Broken unicode character");
                    return false;
                }
                --c_; // the common step below passes the last hex digit
                break;
            default:
                addErrorWithCode(kEscape, hexText("Illegal escape sequence '0x%x'", escape));
                return false;
            }
            appendUtf8(out, character);
            ++c_;
        } else {
            addErrorWithCode(kControlCharacter, hexText("Unescaped control character '0x%x'", stop));
            return false;
        }
    } while (!atEnd());
    addErrorWithCode(kEndOfInput, "Unexpected EOF while parsing string");
    return false;
}

bool SNJsonParser::scanHexQuad(uint32_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
        unsigned char digit = peek();
        int d = isDigit(digit)                   ? digit - '0'
                : (digit >= 'a' && digit <= 'f') ? digit - 'a' + 10
                : (digit >= 'A' && digit <= 'F') ? digit - 'A' + 10
                                                 : -1;
        if (d < 0) {
            addErrorWithCode(kUnicode, "Missing hex digit in quad");
            return false;
        }
        ++c_;
        value = value * 16 + uint32_t(d);
    }
    return true;
}

bool SNJsonParser::scanUnicodeChar(uint32_t& codePoint) {
    uint32_t high;
    if (!scanHexQuad(high)) {
        addErrorWithCode(kUnicode, "Missing hex quad");
        return false;
    }
    if (high >= 0xDC00 && high <= 0xDFFF) {
        addErrorWithCode(kUnicode, "Invalid high character in surrogate pair");
        return false;
    }
    if (high >= 0xD800 && high <= 0xDBFF) {
        uint32_t low = 0;
        bool haveLow = false;
        if (peek() == '\\') {
            ++c_;
            if (peek() == 'u') {
                ++c_;
                haveLow = scanHexQuad(low);
            }
        }
        if (!haveLow) {
            addErrorWithCode(kUnicode, "Missing low character in surrogate pair");
            return false;
        }
        if (low < 0xDC00 || low > 0xDFFF) {
            addErrorWithCode(kUnicode, "Invalid low surrogate char");
            return false;
        }
        codePoint = 0x10000 + (high - 0xD800) * 0x400 + (low - 0xDC00);
        return true;
    }
    codePoint = high;
    return true;
}

bool SNJsonParser::scanNumber(SNValue& out) {
    const char* start = c_;
    if (peek() == '-') ++c_;
    if (peek() == '0') {
        ++c_;
        if (isDigit(peek())) {
            addErrorWithCode(kParseNumber, "Leading 0 disallowed in number");
            return false;
        }
    } else if (!isDigit(peek())) {
        addErrorWithCode(kParseNumber, "No digits after initial minus");
        return false;
    }
    while (isDigit(peek()))
        ++c_;
    if (peek() == '.') {
        ++c_;
        if (!isDigit(peek())) {
            addErrorWithCode(kParseNumber, "No digits after decimal point");
            return false;
        }
        while (isDigit(peek()))
            ++c_;
    }
    if (peek() == 'e' || peek() == 'E') {
        ++c_;
        if (peek() == '+' || peek() == '-') ++c_;
        if (!isDigit(peek())) {
            addErrorWithCode(kParseNumber, "No digits after exponent");
            return false;
        }
        while (isDigit(peek()))
            ++c_;
    }
    auto number = SNDecimal::parse(std::string_view(start, size_t(c_ - start)));
    if (!number) {
        addErrorWithCode(kParseNumber, "Failed creating decimal instance");
        return false;
    }
    out = SNValue(std::move(*number));
    return true;
}

} // namespace socialnet
