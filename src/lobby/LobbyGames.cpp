#include "lobby/LobbyGames.h"

#include <cstdint>
#include <limits>

namespace kavo {

const LobbyGame* lobbyGameOfType(int gameType) {
    return gameRecord(gameType);
}

int64_t longLongValueOfText(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    // Accumulate as a negative number so that the lowest value fits too.
    constexpr int64_t lowest = std::numeric_limits<int64_t>::min();
    int64_t value = 0;
    bool overflow = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        if (value < (lowest + digit) / 10) {
            overflow = true;
            break;
        }
        value = value * 10 - digit;
    }
    if (overflow) return negative ? lowest : std::numeric_limits<int64_t>::max();
    if (negative) return value;
    return value == lowest ? std::numeric_limits<int64_t>::max() : -value;
}

int32_t intValueOfText(std::string_view text) {
    const int64_t value = longLongValueOfText(text);
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return int32_t(value);
}

std::string textOfInt(int64_t value) {
    return std::to_string(value);
}

} // namespace kavo
