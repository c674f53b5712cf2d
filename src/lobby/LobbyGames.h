#pragma once

#include "table/registry/GameRecords.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kavo {

// One game of the lobby: its wire type, the grid button's name, its icons and the
// language key of its name.
using LobbyGame = GameRecord;

// The fourteen games in the order the game grid and the board list's strip show them.
inline constexpr auto kLobbyGames = gamesInOrder<placesIn(&GameRecord::gridOrder)>(&GameRecord::gridOrder);

// The game of a wire type, or nullptr for a type the lobby does not show.
const LobbyGame* lobbyGameOfType(int gameType);

// The number a text starts with, read the forgiving way a text field's number is read:
// leading blanks, an optional sign, then digits up to the first other character; 0 when
// there are none, and the nearest limit when the number does not fit.
int32_t intValueOfText(std::string_view text);
int64_t longLongValueOfText(std::string_view text);

// "%i" of a number.
std::string textOfInt(int64_t value);

} // namespace kavo
