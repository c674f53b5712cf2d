#pragma once

#include "table/registry/GameRecords.h"

#include <cstdint>

namespace kavo {

// What the shared sheets and seat actions do at each game's table is in the game's
// record (isBoardGame, inPlayerMenu, takesPassword, takesTypedStake); a type without a
// record gets no action from them (they only close).
constexpr const GameRecord* tableRule(int gameType) {
    return gameRecord(gameType);
}

// Game types with their own hooks in the shared classes.
namespace GameTypes {
inline constexpr int8_t kCaro = 1;
inline constexpr int8_t kXiZach = 2;
inline constexpr int8_t kTienLen = 3;
inline constexpr int8_t kPoker = 4;
inline constexpr int8_t kCoTuong = 5;
inline constexpr int8_t kTetris = 8;
inline constexpr int8_t kCoVua = 9;
inline constexpr int8_t kBaiCao = 11;
inline constexpr int8_t kTienLenMB = 12;
inline constexpr int8_t kPhom = 13;
inline constexpr int8_t kMauBinh = 16;
inline constexpr int8_t kCaoRua = 17;
inline constexpr int8_t kBauCua = 18;
inline constexpr int8_t kCoUp = 20;
} // namespace GameTypes

} // namespace kavo
