#include "platform/foundation/NumberFormat.h"

namespace platform {

std::string formatGroupedInteger(int64_t value, std::string_view separator) {
    // The magnitude as unsigned, so that INT64_MIN does not overflow.
    uint64_t magnitude = value < 0 ? 0 - uint64_t(value) : uint64_t(value);
    std::string digits = std::to_string(magnitude);
    std::string out = value < 0 ? "-" : "";
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return out;
}

} // namespace platform
