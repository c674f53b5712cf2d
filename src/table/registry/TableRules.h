#pragma once

#include <cstdint>

namespace kavo {

// What the shared sheets and seat actions do at each game's table. One row per game
// type; a type without a row gets no action from them (they only close).
struct TableRule {
    int8_t gameType;
    // The two-player board games: a kick removes every other player, and a match
    // runs while isInBoard is set (the card games read isGameEnd instead).
    bool isBoardGame;
    // The player menu sheet serves this table.
    bool inPlayerMenu;
    // The password sheet sends for this table (Bau Cua only closes).
    bool takesPassword;
    // The lottery-style entry of the bet sheet sends a stake here (Mau Binh and Bau
    // Cua get nothing from it).
    bool takesTypedStake;
};

inline constexpr TableRule kTableRules[] = {
    // type  board  menu   pass   typed
    {1, true, true, true, true},      // Caro
    {2, false, true, true, true},     // Xi Zach
    {3, false, true, true, true},     // Tien Len
    {4, false, true, true, true},     // poker
    {5, true, true, true, true},      // Chinese chess
    {8, true, true, true, true},      // Tetris
    {9, true, true, true, true},      // chess
    {11, false, true, true, true},    // Bai Cao
    {12, false, true, true, true},    // Tien Len MB
    {13, false, true, true, true},    // Phom
    {16, false, false, true, false},  // Mau Binh
    {17, false, true, true, true},    // Cao Rua
    {18, false, false, false, false}, // Bau Cua
    {20, true, false, true, true},    // hidden-piece Chinese chess
};

// The row of a game type, or nullptr.
constexpr const TableRule* tableRule(int gameType) {
    for (const auto& rule : kTableRules) {
        if (rule.gameType == gameType) return &rule;
    }
    return nullptr;
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
