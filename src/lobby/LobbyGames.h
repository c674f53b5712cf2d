#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kavo {

// One game of the lobby: its wire type, the grid button's name, its icons and the
// language key of its name.
struct LobbyGame {
    int gameType;
    std::string_view buttonName; // the game grid's button (accessibility identifier)
    std::string_view icon;
    std::string_view highlightIcon;
    std::string_view nameKey;
};

// The fourteen games in the order the game grid and the board list's strip show them.
inline constexpr std::array<LobbyGame, 14> kLobbyGames{{
    {3, "btnTLMN", "icon_TLMN.png", "icon_TLMN(effect).png", "KAVO_tienLen"},
    {12, "btnTLMB", "icon_TLMB.png", "icon_TLMB(effect).png", "KAVO_tienLenMB"},
    {11, "btnBaiCao", "icon_baicao.png", "icon_baicao(effect).png", "KAVO_baicao"},
    {2, "btnXiDach", "icon_xidzach.png", "icon_xidzach(effect).png", "KAVO_xiZach"},
    {13, "btnPhom", "icon_phom.png", "icon_phom(effect).png", "KAVO_phom"},
    {5, "btnCoTuong", "icon_cotuong.png", "icon_cotuong(effect).png", "KAVO_coTuong"},
    {9, "btnCoVua", "icon_covua.png", "icon_covua(effect).png", "KAVO_coVua"},
    {20, "btnCoUp", "icon_coup.png", "icon_coup(effect).png", "KAVO_coUp"},
    {18, "btnGameBauCua", "icon_baucua.png", "icon_baucua(effect).png", "KAVO_BauCua"},
    {16, "btnMauBinh", "icon_maubinh.png", "icon_maubinh(effect).png", "KAVO_MauBinh"},
    {17, "btnCaoRua", "icon_caorua.png", "icon_caorua(effect).png", "KAVO_CaoRua"},
    {4, "btnPoker", "icon_poker.png", "icon_poker(effect).png", "KAVO_poker"},
    {1, "btnCaro", "icon_caro.png", "icon_caro(effect).png", "KAVO_caro"},
    {8, "btnXepGach", "icon_xepgach.png", "icon_xepgach(effect).png", "KAVO_tetris"},
}};

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
