#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kavo {

// Who sets the stake at a card table: the owner between hands (through the bet sheet), or
// each player for himself before the deal; the board games and the dice table have neither.
enum class StakeSetting : uint8_t { None, ByTheOwner, ByEachPlayer };

// How a card game numbers its cards on the wire, for the shared card widget: from the ace
// up or from the two up; None where the game draws its cards with widgets of its own.
enum class CardOrder : uint8_t { None, AceLow, TwoLow };

// Where a card table moves its seats after the common layout: my seat above my hand, the
// seats beside the cards dealt to them, or the top seat's name to its left.
enum class SeatPlacement : uint8_t { Standard, MySeatAboveTheHand, BesideTheirCards, TopNameLeft };

// Where a card table shows the turn's bar: at the board's centre, over the fire button,
// above the play buttons' left end, or above them at the screen's right edge.
enum class TurnBarPlace : uint8_t {
    Unplaced,
    BoardCentre,
    OnTheFireButton,
    AboveTheButtons,
    AboveTheButtonsAtTheRight
};

// The titles of a card table's play buttons (language keys): fire, skip (empty: the layout's
// own) and the automatic choice; at the stake tables the stake button sits 20 points lower.
struct PlayButtonTitles {
    std::string_view fire = "";
    std::string_view skip = "";
    std::string_view autoSelected = "";
    bool stakeButtonLower = false;
};

// What the client knows of a game outside the game's own code, one record per game. The
// lists of games the lobby, the rankings, the profile, the status line and the portal's
// requests keep are views of these records; the screens list the games in orders of their
// own (the `...Order` columns). Only data: any folder may read it.
struct GameRecord {
    int8_t gameType;
    // The language key of the game's name (the table's title, the grid, the strip).
    std::string_view titleKey;

    // ---- the game grid and the board list's strip of games
    int gridOrder;               // the place in the game grid's order, which the strip keeps too
    std::string_view buttonName; // the grid button's accessibility identifier
    std::string_view icon;
    std::string_view highlightIcon;

    // ---- the rankings and the achievement page
    int rankingOrder; // the place in the rankings' game picker
    // The rankings name Phom by its newer name.
    std::string_view rankingTitleKey;
    // The picker's icon; two of them have no ".png": the picture is looked up under that name.
    std::string_view pickerIcon;
    std::string_view strongestKey; // the strongest-list caption
    std::string_view achievementIcon;
    // The place in the profile's achievement page; -1 where the page asks for the game
    // but shows no row.
    int achievementOrder;
    // The place in the order the own profile asks for the games' achievements, and in the
    // order another player's profile asks for them.
    int ownAchievementRequestOrder;
    int otherAchievementRequestOrder;

    // A friend's whereabouts name the game.
    bool namedInStatus = true;
    // This client opens and plays the game's tables. The others (their rules and table
    // messages are not defined here) list their boards, and every way into one of their
    // tables tells the player at once that the game cannot be played in this version.
    bool opensTables = true;

    // ---- the room list
    // The language key of the room list's title; empty: the top bar keeps what it shows.
    std::string_view roomTitleKey = "";

    // ---- the board list
    // The seat class of the board list: 0 two seats, 1 four-seat cards, 2 Cao Rua and
    // Bau Cua, 3 poker.
    int boardListType;
    int seats;
    // The board list turns a full board away itself; the server answers for the others.
    bool turnsFullBoardAway = false;
    // The English name is long: the strip's label takes a smaller font.
    bool longEnglishName = false;

    // ---- what the shared sheets and seat actions do at the table
    // The two-player board games: a kick removes every other player, and a match runs
    // while isInBoard is set (the card games read isGameEnd instead).
    bool isBoardGame = false;
    // The player menu sheet serves this table.
    bool inPlayerMenu = true;
    // The password sheet sends for this table (Bau Cua only closes).
    bool takesPassword = true;
    // The lottery-style entry of the bet sheet sends a stake here (Mau Binh and Bau Cua
    // get nothing from it).
    bool takesTypedStake = true;
    // The table takes the invitation sheet's lists and player details (the hidden-piece
    // chess has neither).
    bool takesInvitations = true;
    // The invitation sheet lists the friends who are online (the dice table lists nobody).
    bool invitesFriends = true;
    // The friend list ends the invitation sheet's count.
    bool friendListEndsCount = false;
    // The player details sheet's background.
    std::string_view detailBackground = "bg_profile.png";

    // ---- the card tables
    // The game's icon, faded, in the middle of a four-seat card table; empty: none.
    std::string_view fadedIcon = "";
    // The play buttons' titles at a four-seat card table; empty: the layout's own.
    PlayButtonTitles playButtons = {};
    StakeSetting stakeSetting = StakeSetting::None;
    // The Cao Rua settings sheet's stake button opens the bet sheet at these tables.
    bool setupSheetSetsStake = false;
    // The bet sheet turns a stake of nothing away itself.
    bool refusesZeroStake = false;
    CardOrder cardOrder = CardOrder::None;
    // The shared card widget's size against a full card.
    double cardScale = 1.0;
    // The players take turns: a player's turn shows the clock at his seat (Mau Binh's
    // players arrange their hands at once, under one clock, with the auto button shown).
    bool playsInTurns = true;
    SeatPlacement seatPlacement = SeatPlacement::Standard;
    TurnBarPlace turnBar = TurnBarPlace::Unplaced;

    // ---- the shared sheets' look and rows
    std::string_view sheetBackground = "bg_submenu.png";
    std::string_view sheetButton = "button_chuc_nang1.png";
    // The password sheet at this table sets the table's password; elsewhere it asks for
    // a board's password to enter it.
    bool setsTablePassword = true;
    // The player menu on my own seat offers to stand up.
    bool seatMenuStandsUp = false;

    // ---- the portal's table requests this game has commands of its own for
    int16_t joinCommand = 8;
    int16_t joinAnyCommand = 28;
    int16_t stakeCommand = 19;
};

// The fourteen games, in the order their handlers are registered.
inline constexpr std::array<GameRecord, 14> kGameRecords{{
    {.gameType = 3,
     .titleKey = "KAVO_tienLen",
     .gridOrder = 0,
     .buttonName = "btnTLMN",
     .icon = "icon_TLMN.png",
     .highlightIcon = "icon_TLMN(effect).png",
     .rankingOrder = 12,
     .rankingTitleKey = "KAVO_tienLen",
     .pickerIcon = "icon_TLMN",
     .strongestKey = "KAVO_Strongest_TLMN",
     .achievementIcon = "icon_TLMN.png",
     .achievementOrder = 0,
     .ownAchievementRequestOrder = 0,
     .otherAchievementRequestOrder = 12,
     .roomTitleKey = "KAVO_roomTienLen",
     .boardListType = 1,
     .seats = 4,
     .fadedIcon = "icon_TLMN_opacity.png",
     .playButtons = {.fire = "KAVO_fire", .skip = "KAVO_skip", .autoSelected = "KAVO_autoselect"},
     .stakeSetting = StakeSetting::ByTheOwner,
     .setupSheetSetsStake = true,
     .seatPlacement = SeatPlacement::MySeatAboveTheHand,
     .turnBar = TurnBarPlace::AboveTheButtons},
    {.gameType = 13,
     .titleKey = "KAVO_phom",
     .gridOrder = 4,
     .buttonName = "btnPhom",
     .icon = "icon_phom.png",
     .highlightIcon = "icon_phom(effect).png",
     .rankingOrder = 9,
     .rankingTitleKey = "KAVO_phom_moi",
     .pickerIcon = "icon_phom.png",
     .strongestKey = "KAVO_Strongest_Phom",
     .achievementIcon = "icon_phom.png",
     .achievementOrder = 2,
     .ownAchievementRequestOrder = 2,
     .otherAchievementRequestOrder = 9,
     .roomTitleKey = "KAVO_roomPhom",
     .boardListType = 1,
     .seats = 4,
     .fadedIcon = "icon_phom_opacity.png",
     .playButtons = {.fire = "KAVO_fire", .skip = "KAVO_skip", .autoSelected = "KAVO_autoselect"},
     .stakeSetting = StakeSetting::ByTheOwner,
     .setupSheetSetsStake = true,
     .cardOrder = CardOrder::AceLow,
     .turnBar = TurnBarPlace::OnTheFireButton},
    {.gameType = 5,
     .titleKey = "KAVO_coTuong",
     .gridOrder = 5,
     .buttonName = "btnCoTuong",
     .icon = "icon_cotuong.png",
     .highlightIcon = "icon_cotuong(effect).png",
     .rankingOrder = 5,
     .rankingTitleKey = "KAVO_coTuong",
     .pickerIcon = "icon_cotuong.png",
     .strongestKey = "KAVO_Strongest_CoTuong",
     .achievementIcon = "icon_cotuong.png",
     .achievementOrder = 3,
     .ownAchievementRequestOrder = 3,
     .otherAchievementRequestOrder = 5,
     .roomTitleKey = "KAVO_roomCoTuong",
     .boardListType = 0,
     .seats = 2,
     .turnsFullBoardAway = true,
     .isBoardGame = true,
     .joinCommand = 1900},
    {.gameType = 9,
     .titleKey = "KAVO_coVua",
     .gridOrder = 6,
     .buttonName = "btnCoVua",
     .icon = "icon_covua.png",
     .highlightIcon = "icon_covua(effect).png",
     .rankingOrder = 7,
     .rankingTitleKey = "KAVO_coVua",
     .pickerIcon = "icon_covua.png",
     .strongestKey = "KAVO_Strongest_CoVua",
     .achievementIcon = "icon_covua.png",
     .achievementOrder = 4,
     .ownAchievementRequestOrder = 4,
     .otherAchievementRequestOrder = 7,
     .opensTables = false,
     .roomTitleKey = "KAVO_roomCoVua",
     .boardListType = 0,
     .seats = 2,
     .isBoardGame = true},
    {.gameType = 20,
     .titleKey = "KAVO_coUp",
     .gridOrder = 7,
     .buttonName = "btnCoUp",
     .icon = "icon_coup.png",
     .highlightIcon = "icon_coup(effect).png",
     .rankingOrder = 6,
     .rankingTitleKey = "KAVO_coUp",
     .pickerIcon = "icon_coup.png",
     .strongestKey = "KAVO_Strongest_CoUp",
     .achievementIcon = "icon_coup.png",
     .achievementOrder = 11,
     .ownAchievementRequestOrder = 11,
     .otherAchievementRequestOrder = 6,
     .boardListType = 0,
     .seats = 2,
     .turnsFullBoardAway = true,
     .isBoardGame = true,
     .inPlayerMenu = false,
     .takesInvitations = false,
     .joinCommand = 1900},
    {.gameType = 11,
     .titleKey = "KAVO_baicao",
     .gridOrder = 2,
     .buttonName = "btnBaiCao",
     .icon = "icon_baicao.png",
     .highlightIcon = "icon_baicao(effect).png",
     .rankingOrder = 0,
     .rankingTitleKey = "KAVO_baicao",
     .pickerIcon = "icon_baicao.png",
     .strongestKey = "KAVO_Strongest_BaiCao",
     .achievementIcon = "icon_baicao.png",
     .achievementOrder = 5,
     .ownAchievementRequestOrder = 5,
     .otherAchievementRequestOrder = 0,
     .roomTitleKey = "KAVO_roomBaiCao",
     .boardListType = 1,
     .seats = 4,
     .fadedIcon = "icon_baicao_opacity.png",
     .playButtons = {.fire = "KAVO_nanBai", .autoSelected = "KAVO_showAllCards", .stakeButtonLower = true},
     .stakeSetting = StakeSetting::ByEachPlayer,
     .cardOrder = CardOrder::AceLow,
     .seatPlacement = SeatPlacement::BesideTheirCards,
     .turnBar = TurnBarPlace::BoardCentre,
     .stakeCommand = 24},
    {.gameType = 2,
     .titleKey = "KAVO_xiZach",
     .gridOrder = 3,
     .buttonName = "btnXiDach",
     .icon = "icon_xidzach.png",
     .highlightIcon = "icon_xidzach(effect).png",
     .rankingOrder = 2,
     .rankingTitleKey = "KAVO_xiZach",
     .pickerIcon = "icon_xidzach.png",
     .strongestKey = "KAVO_Strongest_XiDzach",
     .achievementIcon = "icon_xidzach.png",
     .achievementOrder = 6,
     .ownAchievementRequestOrder = 6,
     .otherAchievementRequestOrder = 2,
     .roomTitleKey = "KAVO_roomXiZach",
     .boardListType = 1,
     .seats = 4,
     .fadedIcon = "icon_xiDach_opacity.png",
     .playButtons = {.fire = "KAVO_nanBai", .autoSelected = "KAVO_dangBai", .stakeButtonLower = true},
     .stakeSetting = StakeSetting::ByEachPlayer,
     .cardOrder = CardOrder::AceLow,
     .seatPlacement = SeatPlacement::BesideTheirCards,
     .turnBar = TurnBarPlace::BoardCentre,
     .stakeCommand = 24},
    {.gameType = 1,
     .titleKey = "KAVO_caro",
     .gridOrder = 12,
     .buttonName = "btnCaro",
     .icon = "icon_caro.png",
     .highlightIcon = "icon_caro(effect).png",
     .rankingOrder = 4,
     .rankingTitleKey = "KAVO_caro",
     .pickerIcon = "icon_caro.png",
     .strongestKey = "KAVO_Strongest_Caro",
     .achievementIcon = "icon_caro.png",
     .achievementOrder = 7,
     .ownAchievementRequestOrder = 7,
     .otherAchievementRequestOrder = 4,
     .opensTables = false,
     .roomTitleKey = "KAVO_roomCaro",
     .boardListType = 0,
     .seats = 2,
     .isBoardGame = true,
     .detailBackground = "caro-bg-menu.png",
     .sheetBackground = "caro-bg-menu.png",
     .sheetButton = "caro-menu-item.png",
     .setsTablePassword = false},
    {.gameType = 12,
     .titleKey = "KAVO_tienLenMB",
     .gridOrder = 1,
     .buttonName = "btnTLMB",
     .icon = "icon_TLMB.png",
     .highlightIcon = "icon_TLMB(effect).png",
     .rankingOrder = 13,
     .rankingTitleKey = "KAVO_tienLenMB",
     .pickerIcon = "icon_TLMB",
     .strongestKey = "KAVO_Strongest_TLMB",
     .achievementIcon = "icon_TLMB.png",
     .achievementOrder = 1,
     .ownAchievementRequestOrder = 1,
     .otherAchievementRequestOrder = 13,
     .roomTitleKey = "KAVO_roomTienLenMB",
     .boardListType = 1,
     .seats = 4,
     .fadedIcon = "icon_TLMB_opacity.png",
     .playButtons = {.fire = "KAVO_fire", .skip = "KAVO_skip", .autoSelected = "KAVO_autoselect"},
     .stakeSetting = StakeSetting::ByTheOwner,
     .setupSheetSetsStake = true,
     .seatPlacement = SeatPlacement::MySeatAboveTheHand,
     .turnBar = TurnBarPlace::AboveTheButtons},
    {.gameType = 8,
     .titleKey = "KAVO_tetris",
     .gridOrder = 13,
     .buttonName = "btnXepGach",
     .icon = "icon_xepgach.png",
     .highlightIcon = "icon_xepgach(effect).png",
     .rankingOrder = 11,
     .rankingTitleKey = "KAVO_tetris",
     .pickerIcon = "icon_xepgach.png",
     .strongestKey = "KAVO_Strongest_XepGach",
     .achievementIcon = "",
     .achievementOrder = -1,
     .ownAchievementRequestOrder = 8,
     .otherAchievementRequestOrder = 11,
     .opensTables = false,
     .roomTitleKey = "KAVO_roomTetris",
     .boardListType = 0,
     .seats = 2,
     .isBoardGame = true,
     .setsTablePassword = false},
    {.gameType = 4,
     .titleKey = "KAVO_poker",
     .gridOrder = 11,
     .buttonName = "btnPoker",
     .icon = "icon_poker.png",
     .highlightIcon = "icon_poker(effect).png",
     .rankingOrder = 10,
     .rankingTitleKey = "KAVO_poker",
     .pickerIcon = "icon_poker.png",
     .strongestKey = "KAVO_Strongest_Poker",
     .achievementIcon = "icon_poker.png",
     .achievementOrder = 8,
     .ownAchievementRequestOrder = 13,
     .otherAchievementRequestOrder = 10,
     .namedInStatus = false,
     .opensTables = false,
     .roomTitleKey = "KAVO_roomPoker",
     .boardListType = 3,
     .seats = 6,
     .cardOrder = CardOrder::AceLow,
     .cardScale = 0.6,
     .seatMenuStandsUp = true,
     .joinCommand = 1900,
     .joinAnyCommand = 1901},
    {.gameType = 18,
     .titleKey = "KAVO_BauCua",
     .gridOrder = 8,
     .buttonName = "btnGameBauCua",
     .icon = "icon_baucua.png",
     .highlightIcon = "icon_baucua(effect).png",
     .rankingOrder = 1,
     .rankingTitleKey = "KAVO_BauCua",
     .pickerIcon = "icon_baucua.png",
     .strongestKey = "KAVO_Strongest_BauCua",
     .achievementIcon = "icon_baucua.png",
     .achievementOrder = 9,
     .ownAchievementRequestOrder = 9,
     .otherAchievementRequestOrder = 1,
     .namedInStatus = false,
     .opensTables = false,
     .boardListType = 2,
     .seats = 6,
     .longEnglishName = true,
     .inPlayerMenu = false,
     .takesPassword = false,
     .takesTypedStake = false,
     .invitesFriends = false,
     .refusesZeroStake = true},
    {.gameType = 16,
     .titleKey = "KAVO_MauBinh",
     .gridOrder = 9,
     .buttonName = "btnMauBinh",
     .icon = "icon_maubinh.png",
     .highlightIcon = "icon_maubinh(effect).png",
     .rankingOrder = 8,
     .rankingTitleKey = "KAVO_MauBinh",
     .pickerIcon = "icon_maubinh.png",
     .strongestKey = "KAVO_Strongest_MauBinh",
     .achievementIcon = "icon_maubinh.png",
     .achievementOrder = 12,
     .ownAchievementRequestOrder = 12,
     .otherAchievementRequestOrder = 8,
     .namedInStatus = false,
     .boardListType = 1,
     .seats = 4,
     .inPlayerMenu = false,
     .takesTypedStake = false,
     .fadedIcon = "icon_maubinh_opacity.png",
     .playButtons = {.fire = "KAVO_finished", .skip = "KAVO_xepThuTu", .autoSelected = "KAVO_binhTuDong"},
     .stakeSetting = StakeSetting::ByTheOwner,
     .cardOrder = CardOrder::TwoLow,
     .playsInTurns = false,
     .seatPlacement = SeatPlacement::TopNameLeft,
     .turnBar = TurnBarPlace::AboveTheButtonsAtTheRight},
    {.gameType = 17,
     .titleKey = "KAVO_CaoRua",
     .gridOrder = 10,
     .buttonName = "btnCaoRua",
     .icon = "icon_caorua.png",
     .highlightIcon = "icon_caorua(effect).png",
     .rankingOrder = 3,
     .rankingTitleKey = "KAVO_CaoRua",
     .pickerIcon = "icon_caorua.png",
     .strongestKey = "KAVO_Strongest_CaoRua",
     .achievementIcon = "icon_caorua.png",
     .achievementOrder = 10,
     .ownAchievementRequestOrder = 10,
     .otherAchievementRequestOrder = 3,
     .roomTitleKey = "KAVO_roomCaoRua",
     .boardListType = 2,
     .seats = 6,
     .friendListEndsCount = true,
     .fadedIcon = "icon_caorua_opacity.png",
     .stakeSetting = StakeSetting::ByEachPlayer,
     .cardOrder = CardOrder::AceLow},
}};

// The record of a game type, or nullptr for a type that names no game.
constexpr const GameRecord* gameRecord(int gameType) {
    for (const auto& game : kGameRecords) {
        if (game.gameType == gameType) return &game;
    }
    return nullptr;
}

// What a type without a record gets: the values every table shares.
inline constexpr GameRecord kNoGame{};

// The record of a game type, or kNoGame (before a game is chosen, say).
constexpr const GameRecord& gameRecordOrNone(int gameType) {
    const GameRecord* game = gameRecord(gameType);
    return game ? *game : kNoGame;
}

// How many records take a place in an order (a negative place takes none).
constexpr size_t placesIn(int GameRecord::*order) {
    size_t count = 0;
    for (const auto& game : kGameRecords)
        count += game.*order >= 0 ? 1 : 0;
    return count;
}

// The records in one screen's order: each record at its place in that order.
template <size_t N> constexpr std::array<GameRecord, N> gamesInOrder(int GameRecord::*order) {
    std::array<GameRecord, N> games{};
    for (const auto& game : kGameRecords) {
        if (game.*order >= 0 && size_t(game.*order) < N) games[size_t(game.*order)] = game;
    }
    return games;
}

// The game types in one screen's order.
template <size_t N> constexpr std::array<int, N> gameTypesInOrder(int GameRecord::*order) {
    const auto games = gamesInOrder<N>(order);
    std::array<int, N> types{};
    for (size_t place = 0; place < N; ++place)
        types[place] = games[place].gameType;
    return types;
}

// Every place of an order is taken by exactly one record.
constexpr bool isWholeOrder(int GameRecord::*order) {
    const size_t places = placesIn(order);
    for (size_t place = 0; place < places; ++place) {
        int holders = 0;
        for (const auto& game : kGameRecords)
            holders += game.*order == int(place) ? 1 : 0;
        if (holders != 1) return false;
    }
    return true;
}

static_assert(isWholeOrder(&GameRecord::gridOrder) && isWholeOrder(&GameRecord::rankingOrder) &&
              isWholeOrder(&GameRecord::achievementOrder) && isWholeOrder(&GameRecord::ownAchievementRequestOrder) &&
              isWholeOrder(&GameRecord::otherAchievementRequestOrder));

} // namespace kavo
