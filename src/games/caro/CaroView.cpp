#include "games/caro/CaroView.h"

#include "games/caro/CaroMessageHandler.h"

namespace kavo {

CaroView::CaroView() : GameTableView(CaroMessageHandler::kGameType, "CaroView", "KAVO_caro") {}

void CaroView::viewDidLoad() {
    GameTableView::viewDidLoad();
    playerDetailView_ = std::make_shared<PlayerDetailView>();
}

void CaroView::onRequestDetail(const platform::Value& details) {
    PlayerDetailView::showOver(*this, playerDetailView_, details);
}

} // namespace kavo
