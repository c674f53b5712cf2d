#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace kavo {

class TienLenPlayer;

// One hand as the server reports it in its game-over and game-under-way replies: the
// player's database id and the three card ids, each widened from its signed byte
// (-1 for a card not shown).
struct CaoRuaCardRecord {
    int32_t playerId = -1;
    std::array<int32_t, 3> cards{-1, -1, -1};
    bool operator==(const CaoRuaCardRecord&) const = default;
};

using CaoRuaCardRecords = std::vector<CaoRuaCardRecord>;
using CaoRuaPlayers = std::vector<std::shared_ptr<TienLenPlayer>>;

// The table has six places: a join keeps six, a game under way at most six hands.
inline constexpr int kCaoRuaPlaces = 6;

} // namespace kavo
