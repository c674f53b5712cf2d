#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kavo {

// What the lottery's fields take and how they read: shared by the panel and the stake entry.
class LottoInput {
public:
    // The smallest stake the lottery takes.
    static constexpr int32_t kMinimumStake = 500;
    // A typed or pasted replacement is taken when it is empty, or when something is left
    // after trimming the non-digits from both of its ends.
    static bool acceptsReplacement(std::string_view replacement);
    // The number a field's text starts with (its leading digits; 0 without any).
    static int32_t valueOf(std::string_view text);
    // " 7" for one-digit numbers, "42" for two.
    static std::string twoWide(int number);
};

} // namespace kavo
