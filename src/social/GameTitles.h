#pragma once

#include "table/registry/GameRecords.h"

namespace kavo {

// How the rankings and the achievement pages name and picture each game: its wire type,
// the language key of its title (rankingTitleKey), the picker's icon, the key of its
// strongest-list caption and the achievement row's icon (empty for a game whose row has
// none).
using GameTitle = GameRecord;

// In the order the rankings' game picker lists them.
inline constexpr auto kRankedGames = gamesInOrder<placesIn(&GameRecord::rankingOrder)>(&GameRecord::rankingOrder);

// The entry of a wire type, or nullptr for a type outside the fourteen.
constexpr const GameTitle* rankedGameOfType(int gameType) {
    return gameRecord(gameType);
}

} // namespace kavo
