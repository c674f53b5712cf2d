#include "games/tetris/TetrisView.h"

#include "games/tetris/TetrisMessageHandler.h"

namespace kavo {

TetrisView::TetrisView() : GameTableView(TetrisMessageHandler::kGameType, "TetrisView", "KAVO_tetris") {}

void TetrisView::viewDidLoad() {
    GameTableView::viewDidLoad();
    playerDetailView_ = std::make_shared<PlayerDetailView>();
}

void TetrisView::onRequestDetail(const platform::Value& details) {
    PlayerDetailView::showOver(*this, playerDetailView_, details);
}

} // namespace kavo
