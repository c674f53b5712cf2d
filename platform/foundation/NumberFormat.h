#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// A whole number in decimal with its digits grouped by threes:
// 1234567 -> "1,234,567", -1000 -> "-1,000"; every int64 value works.
std::string formatGroupedInteger(int64_t value, std::string_view separator = ",");

} // namespace platform
