#pragma once

#include "table/GameTableView.h"

#include <cstdint>
#include <string>

namespace kavo {

// The base of the six four-seat card tables (Tien Len, Tien Len MB, Phom, Bai Cao,
// Xi Zach, Mau Binh). They share one layout ("TienLenView") and answer roomId/boardId.
class GameCardView : public GameTableView {
public:
    GameCardView(int8_t gameType, std::string titleKey);

    // The mailbox button: a fresh messages screen is pushed.
    void clickMailBox();
    void viewDidLoad() override;

    // Seats the players at this screen's own room and board.
    void setupPlayersWithOwner(int32_t ownerId, int32_t money, const std::vector<std::shared_ptr<Player>>& players) {
        setupPlayersWithRoom(roomId(), boardId(), ownerId, money, players);
    }
};

} // namespace kavo
