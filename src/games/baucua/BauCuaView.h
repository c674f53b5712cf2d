#pragma once

#include "table/GameTableView.h"

namespace kavo {

// The Bau Cua table screen.
// A seat of the dice table; the seat actions act on its core player.
struct BauCuaSeat {
    std::shared_ptr<Player> corePlayer;
};

class BauCuaView : public GameTableView {
public:
    BauCuaView();

    // The seats; their core players are the table's players.
    const std::vector<std::shared_ptr<BauCuaSeat>>& playerList() const { return playerList_; }
    void setPlayerList(std::vector<std::shared_ptr<BauCuaSeat>> seats) { playerList_ = std::move(seats); }
    // The seat whose menu is open.
    const std::shared_ptr<BauCuaSeat>& currentControlSeat() const { return currentControlSeat_; }
    void setCurrentControlSeat(std::shared_ptr<BauCuaSeat> seat) { currentControlSeat_ = std::move(seat); }
    std::shared_ptr<Player> chosenPlayer() const override;
    std::vector<std::shared_ptr<Player>> tablePlayers() const override;
    // Seats the players, one seat each.
    void setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                              const std::vector<std::shared_ptr<Player>>& players) override;

    // Resets the table screen.
    void clearView();
    int clearCount() const { return clearCount_; }

private:
    int clearCount_ = 0;
    std::vector<std::shared_ptr<BauCuaSeat>> playerList_;
    std::shared_ptr<BauCuaSeat> currentControlSeat_;
};

} // namespace kavo
