#include "games/baucua/BauCuaView.h"

#include "games/baucua/BauCuaMessageHandler.h"

namespace kavo {

BauCuaView::BauCuaView() : GameTableView(BauCuaMessageHandler::kGameType, "BauCuaView", "KAVO_BauCua") {}

std::shared_ptr<Player> BauCuaView::chosenPlayer() const {
    return currentControlSeat_ ? currentControlSeat_->corePlayer : nullptr;
}

std::vector<std::shared_ptr<Player>> BauCuaView::tablePlayers() const {
    std::vector<std::shared_ptr<Player>> cores;
    for (const auto& seat : playerList_) {
        if (seat && seat->corePlayer) cores.push_back(seat->corePlayer);
    }
    return cores;
}

void BauCuaView::setupPlayersWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                      const std::vector<std::shared_ptr<Player>>& players) {
    GameTableView::setupPlayersWithRoom(roomId, boardId, ownerId, money, players);
    playerList_.clear();
    for (const auto& player : this->players())
        playerList_.push_back(std::make_shared<BauCuaSeat>(BauCuaSeat{player}));
}

void BauCuaView::clearView() {
    ++clearCount_;
    setIsPlaying(false);
}

} // namespace kavo
