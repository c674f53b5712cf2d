#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace platform {

// One argument of formatText: a whole number, a real or a text.
class FormatArg {
public:
    enum class Kind { Integer, Real, Text };

    FormatArg(int v) : kind_(Kind::Integer), integer_(v) {}
    FormatArg(unsigned v) : kind_(Kind::Integer), integer_(v) {}
    FormatArg(long v) : kind_(Kind::Integer), integer_(v) {}
    FormatArg(unsigned long v) : kind_(Kind::Integer), integer_(int64_t(v)) {}
    FormatArg(long long v) : kind_(Kind::Integer), integer_(v) {}
    FormatArg(unsigned long long v) : kind_(Kind::Integer), integer_(int64_t(v)) {}
    FormatArg(double v) : kind_(Kind::Real), real_(v) {}
    FormatArg(const char* v) : kind_(Kind::Text), text_(v ? v : "") {}
    FormatArg(std::string v) : kind_(Kind::Text), text_(std::move(v)) {}
    FormatArg(std::string_view v) : kind_(Kind::Text), text_(v) {}

    Kind kind() const { return kind_; }
    int64_t asInteger() const;
    double asReal() const;
    std::string asText() const;

private:
    Kind kind_;
    int64_t integer_ = 0;
    double real_ = 0;
    std::string text_;
};

// Fills a pattern such as "%@ %d, %@ %02d" with the arguments in order. Knows
// %@ %s (text), %d %i %u (whole numbers, with the l, ll, h, hh, q, z, j, t
// size prefixes accepted and ignored), %x %X, %c (a character code), %f %e %g
// (reals), %% and %n$ positions, with the flags - 0 + #, a width and a
// precision. A space is not a flag, so "50% off" stays text. An argument of
// another kind is converted (a number to text, a text to a number). A
// placeholder with no argument left, or one it does not know (such as %n), is
// copied as written; extra arguments are ignored. The pattern is never handed to
// printf, so no text can crash it.
std::string formatText(std::string_view pattern, std::initializer_list<FormatArg> args);

} // namespace platform
