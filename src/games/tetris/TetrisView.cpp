#include "games/tetris/TetrisView.h"

#include "games/caro/CaroService.h"
#include "games/tetris/TetrisMessageHandler.h"

namespace kavo {

TetrisView::TetrisView() : SeatedTableView(TetrisMessageHandler::kGameType, "TetrisView", "KAVO_tetris", 2) {}

void TetrisView::viewDidLoad() {
    SeatedTableView::viewDidLoad();
    addPasswordButton({398, 140, 72, 32});
    makePlayerDetailView();
}

void TetrisView::answerDraw(bool accept) {
    CaroService::getInstance().answerDrawWithRoomId(roomID(), boardID(), accept);
}

} // namespace kavo
