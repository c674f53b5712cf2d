#include "sdk/socialnet/json/SNDecimal.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace socialnet {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Bounds the exponent arithmetic well inside 64 bits; anything near it cannot fit 32 bits.
constexpr int64_t kExponentCeiling = int64_t(1) << 40;

} // namespace

SNDecimal SNDecimal::fromInt64(int64_t value) {
    return *parse(std::to_string(value));
}

SNDecimal SNDecimal::fromDouble(double value) {
    SNDecimal result;
    if (std::isnan(value)) {
        result.special_ = Special::NotANumber;
        return result;
    }
    if (std::isinf(value)) {
        result.special_ = value > 0 ? Special::PlusInfinity : Special::MinusInfinity;
        result.negative_ = value < 0;
        return result;
    }
    // Shortest text that reads back as the same double.
    char buffer[40];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(buffer, sizeof buffer, "%.*e", precision - 1, value);
        if (std::strtod(buffer, nullptr) == value) break;
    }
    // "%e" writes "1.5e+00" or "-2e-05", which the grammar takes as it stands.
    return parse(buffer).value_or(SNDecimal{});
}

std::optional<SNDecimal> SNDecimal::parse(std::string_view text) {
    size_t i = 0;
    SNDecimal result;
    if (i < text.size() && text[i] == '-') {
        result.negative_ = true;
        ++i;
    }
    std::string digits;
    size_t intStart = i;
    while (i < text.size() && isDigit(text[i]))
        digits.push_back(text[i++]);
    if (i == intStart) return std::nullopt;
    if (digits.size() > 1 && digits[0] == '0') return std::nullopt;
    int64_t exponent = 0;
    if (i < text.size() && text[i] == '.') {
        ++i;
        size_t fracStart = i;
        while (i < text.size() && isDigit(text[i]))
            digits.push_back(text[i++]);
        if (i == fracStart) return std::nullopt;
        exponent -= int64_t(i - fracStart);
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
        size_t expStart = i;
        int64_t written = 0;
        while (i < text.size() && isDigit(text[i])) {
            if (written < kExponentCeiling) written = written * 10 + (text[i] - '0');
            ++i;
        }
        if (i == expStart) return std::nullopt;
        exponent += negativeExponent ? -written : written;
    }
    if (i != text.size()) return std::nullopt;
    result.digits_ = std::move(digits);
    if (!result.normalize(exponent)) return std::nullopt;
    return result;
}

bool SNDecimal::normalize(int64_t exponent) {
    size_t first = digits_.find_first_not_of('0');
    if (first == std::string::npos) {
        digits_ = "0";
        exponent_ = 0;
        negative_ = false;
        return true;
    }
    digits_.erase(0, first);
    size_t last = digits_.find_last_not_of('0');
    exponent += int64_t(digits_.size() - 1 - last);
    digits_.erase(last + 1);
    if (exponent > std::numeric_limits<int32_t>::max() || exponent < std::numeric_limits<int32_t>::min()) return false;
    exponent_ = int32_t(exponent);
    return true;
}

std::string SNDecimal::text() const {
    switch (special_) {
    case Special::NotANumber:
        return "nan";
    case Special::PlusInfinity:
        return "inf";
    case Special::MinusInfinity:
        return "-inf";
    case Special::None:
        break;
    }
    std::string sign = negative_ ? "-" : "";
    int64_t length = int64_t(digits_.size());
    int64_t exponent = exponent_;
    // Length of the plain text without building it.
    int64_t plainLength = int64_t(sign.size());
    if (exponent >= 0)
        plainLength += length + exponent;
    else if (-exponent < length)
        plainLength += length + 1;
    else
        plainLength += 2 + (-exponent - length) + length;
    if (plainLength > int64_t(kMaxPlainLength)) return sign + digits_ + "E" + std::to_string(exponent);
    if (exponent >= 0) return sign + digits_ + std::string(size_t(exponent), '0');
    if (-exponent < length) {
        size_t point = size_t(length + exponent);
        return sign + digits_.substr(0, point) + "." + digits_.substr(point);
    }
    return sign + "0." + std::string(size_t(-exponent - length), '0') + digits_;
}

double SNDecimal::doubleValue() const {
    switch (special_) {
    case Special::NotANumber:
        return std::numeric_limits<double>::quiet_NaN();
    case Special::PlusInfinity:
        return std::numeric_limits<double>::infinity();
    case Special::MinusInfinity:
        return -std::numeric_limits<double>::infinity();
    case Special::None:
        break;
    }
    std::string text = (negative_ ? "-" : "") + digits_ + "e" + std::to_string(exponent_);
    return std::strtod(text.c_str(), nullptr);
}

int64_t SNDecimal::int64Value() const {
    double value = doubleValue();
    if (std::isnan(value)) return 0;
    if (value >= 9.2e18) return std::numeric_limits<int64_t>::max();
    if (value <= -9.2e18) return std::numeric_limits<int64_t>::min();
    return int64_t(value);
}

} // namespace socialnet
