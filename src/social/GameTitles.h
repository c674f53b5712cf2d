#pragma once

#include <array>
#include <string_view>

namespace kavo {

// How the rankings and the achievement pages name and picture each game: its wire type,
// the language key of its title, the picker's icon (two of them have no ".png": the
// picture is looked up under that name), the key of its strongest-list caption and the
// achievement row's icon (empty for a game whose row has none).
struct GameTitle {
    int gameType;
    std::string_view titleKey;
    std::string_view pickerIcon;
    std::string_view strongestKey;
    std::string_view achievementIcon;
};

// In the order the rankings' game picker lists them.
inline constexpr std::array<GameTitle, 14> kRankedGames{{
    {11, "KAVO_baicao", "icon_baicao.png", "KAVO_Strongest_BaiCao", "icon_baicao.png"},
    {18, "KAVO_BauCua", "icon_baucua.png", "KAVO_Strongest_BauCua", "icon_baucua.png"},
    {2, "KAVO_xiZach", "icon_xidzach.png", "KAVO_Strongest_XiDzach", "icon_xidzach.png"},
    {17, "KAVO_CaoRua", "icon_caorua.png", "KAVO_Strongest_CaoRua", "icon_caorua.png"},
    {1, "KAVO_caro", "icon_caro.png", "KAVO_Strongest_Caro", "icon_caro.png"},
    {5, "KAVO_coTuong", "icon_cotuong.png", "KAVO_Strongest_CoTuong", "icon_cotuong.png"},
    {20, "KAVO_coUp", "icon_coup.png", "KAVO_Strongest_CoUp", "icon_coup.png"},
    {9, "KAVO_coVua", "icon_covua.png", "KAVO_Strongest_CoVua", "icon_covua.png"},
    {16, "KAVO_MauBinh", "icon_maubinh.png", "KAVO_Strongest_MauBinh", "icon_maubinh.png"},
    {13, "KAVO_phom_moi", "icon_phom.png", "KAVO_Strongest_Phom", "icon_phom.png"},
    {4, "KAVO_poker", "icon_poker.png", "KAVO_Strongest_Poker", "icon_poker.png"},
    {8, "KAVO_tetris", "icon_xepgach.png", "KAVO_Strongest_XepGach", ""},
    {3, "KAVO_tienLen", "icon_TLMN", "KAVO_Strongest_TLMN", "icon_TLMN.png"},
    {12, "KAVO_tienLenMB", "icon_TLMB", "KAVO_Strongest_TLMB", "icon_TLMB.png"},
}};

// The entry of a wire type, or nullptr for a type outside the fourteen.
inline const GameTitle* rankedGameOfType(int gameType) {
    for (const GameTitle& game : kRankedGames)
        if (game.gameType == gameType) return &game;
    return nullptr;
}

} // namespace kavo
