#include "account/LottoInput.h"

#include "lobby/LobbyGames.h"

#include <cstdio>

namespace kavo {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool LottoInput::acceptsReplacement(std::string_view replacement) {
    if (replacement.empty()) return true;
    size_t first = 0;
    while (first < replacement.size() && !isDigit(replacement[first]))
        ++first;
    return first < replacement.size();
}

int32_t LottoInput::valueOf(std::string_view text) {
    return intValueOfText(text);
}

std::string LottoInput::twoWide(int number) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%2d", number);
    return buffer;
}

} // namespace kavo
