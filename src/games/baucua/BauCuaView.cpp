#include "games/baucua/BauCuaView.h"

#include "app/UIController.h"
#include "games/baucua/BauCuaMessageHandler.h"

namespace kavo {

BauCuaView::BauCuaView() : GameTableView(BauCuaMessageHandler::kGameType, "BauCuaView", "KAVO_BauCua") {}

void BauCuaView::clearView() {
    ++clearCount_;
    setIsPlaying(false);
}

void BauCuaView::viewDidLoad() {
    GameTableView::viewDidLoad();
    playerDetailView_ = std::make_shared<PlayerDetailView>();
}

void BauCuaView::onRequestDetail(const platform::Value& details) {
    UIController::showUserInfo(details);
}

} // namespace kavo
