#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace socialnet {

// An exact decimal number: a sign, decimal digits and a power-of-ten exponent, so a
// number read from JSON is written back with every digit it had (no binary rounding).
// Numbers made from a double may also be not-a-number or infinite; those exist only
// so that the writer can refuse them.
class SNDecimal {
public:
    enum class Special { None, NotANumber, PlusInfinity, MinusInfinity };

    SNDecimal() = default; // zero
    static SNDecimal fromInt64(int64_t value);
    static SNDecimal fromDouble(double value);
    // The JSON number grammar (optional minus, digits, fraction, exponent). nullopt
    // when the text is not such a number or its exponent does not fit 32 bits.
    static std::optional<SNDecimal> parse(std::string_view text);

    bool isFinite() const { return special_ == Special::None; }
    bool isNegative() const { return negative_; }
    // Without leading or trailing zeros; "0" for zero.
    const std::string& digits() const { return digits_; }
    int32_t exponent() const { return exponent_; }

    // The plain decimal text ("1.5", "100", "-0.001"); exponent notation ("12E-70")
    // when the plain text would be longer than kMaxPlainLength, so a huge exponent
    // never turns into gigabytes of zeros. "nan", "inf" and "-inf" for the specials.
    std::string text() const;
    double doubleValue() const;
    // The whole-number part, saturated to the 64-bit range.
    int64_t int64Value() const;

    bool operator==(const SNDecimal& other) const = default;

    static constexpr size_t kMaxPlainLength = 64;

private:
    // Strips the zeros; false when the exponent does not fit 32 bits.
    bool normalize(int64_t exponent);

    bool negative_ = false;
    std::string digits_ = "0";
    int32_t exponent_ = 0;
    Special special_ = Special::None;
};

} // namespace socialnet
