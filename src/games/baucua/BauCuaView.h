#pragma once

#include "games/baucua/BauCuaSeat.h"
#include "table/base/SeatedTableView.h"

namespace kavo {

// The Bau Cua table screen: six seats, each a seat record around its core player. A
// tap on a seat chooses it and opens the gift sheet for its player; player details
// are never shown here.
class BauCuaView : public SeatedTableView {
public:
    BauCuaView();

    // The seats; their core players are the table's players.
    const std::vector<std::shared_ptr<BauCuaSeat>>& playerList() const { return playerList_; }
    void setPlayerList(std::vector<std::shared_ptr<BauCuaSeat>> seats) { playerList_ = std::move(seats); }
    // The chosen seat (this table's current control player is a seat record).
    const std::shared_ptr<BauCuaSeat>& currentControlSeat() const { return currentControlSeat_; }
    void setCurrentControlSeat(std::shared_ptr<BauCuaSeat> seat) { currentControlSeat_ = std::move(seat); }
    const std::shared_ptr<BauCuaSeat>& CurrentControlPlayer() const { return currentControlSeat_; }
    std::shared_ptr<Player> chosenPlayer() const override;
    std::vector<std::shared_ptr<Player>> tablePlayers() const override;
    // Seats the players, one seat each.
    void setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                              const std::vector<std::shared_ptr<Player>>& players) override;

    void viewDidLoad() override;
    // The detail sheet made at load stays hidden: the details go to the app-wide state.
    void onRequestDetail(const platform::Value& details) override;

    // Resets the table screen.
    void clearView();
    // The leave question's OK: the updates stop and the table clears before the leave
    // request.
    bool leaveAfterQuestion() override;
    int clearCount() const { return clearCount_; }

protected:
    void didTapSeat(int seat, const std::shared_ptr<Player>& player) override;

private:
    int clearCount_ = 0;
    std::vector<std::shared_ptr<BauCuaSeat>> playerList_;
    std::shared_ptr<BauCuaSeat> currentControlSeat_;
};

} // namespace kavo
