#include "games/baucua/BauCuaView.h"

#include "app/UIController.h"
#include "games/baucua/BauCuaMessageHandler.h"

namespace kavo {

BauCuaView::BauCuaView() : SeatedTableView(BauCuaMessageHandler::kGameType, "BauCuaView", "KAVO_BauCua", 6) {}

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
    playerList_.clear();
    for (const auto& player : players) {
        if (player) playerList_.push_back(std::make_shared<BauCuaSeat>(BauCuaSeat{player}));
    }
    SeatedTableView::setupPlayersWithRoom(roomId, boardId, ownerId, money, players);
}

void BauCuaView::viewDidLoad() {
    SeatedTableView::viewDidLoad();
    makePlayerDetailView();
}

void BauCuaView::onRequestDetail(const platform::Value& details) {
    UIController::showUserInfo(details);
}

void BauCuaView::didTapSeat(int /*seat*/, const std::shared_ptr<Player>& player) {
    for (const auto& seat : playerList_) {
        if (seat && seat->corePlayer == player) {
            currentControlSeat_ = seat;
            showGiftView();
            return;
        }
    }
}

bool BauCuaView::leaveAfterQuestion() {
    stopUpdateAction();
    clearView();
    return SeatedTableView::leaveAfterQuestion();
}

void BauCuaView::clearView() {
    ++clearCount_;
    setIsPlaying(false);
}

} // namespace kavo
