#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace kavo {

class TienLenPlayer;

// One player's row of a hand's result as it came from the server. The cards stay
// ids here (the reader thread makes no widgets); the table makes the card widgets.
struct ResultPlayer {
    int32_t userId = 0;
    int32_t winMoney = 0;
    int32_t winChi = 0;
    int8_t mbType = -1;
    int8_t winChiMB = 0;
    int8_t winChi1 = 0;
    int8_t winChi2 = 0;
    int8_t winChi3 = 0;
    int8_t multiKo = 0;
    int8_t winChiAce = 0;
    // Thirteen ids in the final order: front 3, middle 5, back 5.
    std::vector<int8_t> cardList;
};

// The table's copy of a result row.
struct MauBinhResult {
    int userID = 0;
    int winMoney = 0;
    int winChi = 0;
    int mbType = -1;
    int winChiMB = 0;
    int winChi1 = 0;
    int winChi2 = 0;
    int winChi3 = 0;
    int multiKo = 0;
    int winChiAce = 0;
};

// A seated player with its hand's settlement. The table keeps these values on its
// player records and result rows instead; nothing makes one today.
struct MauBinhPlayer {
    MauBinhPlayer(std::shared_ptr<TienLenPlayer> player, int seat) : corePlayer(std::move(player)) { (void)seat; }
    std::shared_ptr<TienLenPlayer> corePlayer;
    int winMoney = 0;
    int winChi = 0;
    int mbType = 0;
};

} // namespace kavo
