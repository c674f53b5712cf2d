#pragma once

#include <cstdint>
#include <iterator>
#include <string>

namespace portalstub {

// The stakes of the boards every game's board list shows, board 1 first. A join answers
// with the stake of the board joined, so the table plays for what the list promised.
inline constexpr int32_t kBoardStakes[] = {100, 500, 1000, 5000, 10000, 50000};
// The highest stake a board plays for: a stake asked above it (or of 0 or less) is refused.
inline constexpr int32_t kHighestStake = 100000;
// Why a stake asked for a board is refused, in the player's language ("": it is not).
std::string stakeRefusal(int32_t stake);
// The listed board whose places are all taken: a join of it is refused.
inline constexpr int8_t kFullBoard = 6;
// The listed board that shows a padlock, and the one password a join of it must give.
inline constexpr int8_t kLockedBoard = 3;
inline constexpr const char* kLockedBoardPassword = "kavo";
// The room of the boards a player creates or is seated at by play now.
inline constexpr int8_t kStubRoom = 1;

// The stake of a board: a listed board's, a created board's as its creator chose; any
// other board plays for 1,000.
int32_t stakeOfBoard(int board);
// A new board (7, 8, ... up to 127, then 7 again) playing for `stake`, open to those
// who give `password` (to anyone when it is empty), for `players` players in all
// (0: as many as the table has places).
int8_t createBoard(int32_t stake, const std::string& password = "", int players = 0);
// How many players in all a table of `places` places seats at `board`: a created
// board's number, held between 2 and `places`; every other board fills its places.
int playersAtBoard(int board, int places);
// Whether a join of `board` with `password` may sit: the locked board of the list and a
// created board with a password take only their password; every other board takes any.
bool boardAdmits(int board, const std::string& password);

} // namespace portalstub
