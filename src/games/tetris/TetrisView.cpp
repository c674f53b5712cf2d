#include "games/tetris/TetrisView.h"

#include "games/tetris/TetrisMessageHandler.h"
#include "games/tetris/TetrisService.h"

namespace kavo {

TetrisView::TetrisView() : SeatedTableView(TetrisMessageHandler::kGameType, "TetrisView", "KAVO_tetris", 2) {}

void TetrisView::viewDidLoad() {
    SeatedTableView::viewDidLoad();
    addPasswordButton({398, 140, 72, 32});
    makePlayerDetailView();
}

void TetrisView::answerDraw(bool accept) {
    TetrisService::getInstance().answerDrawWithRoomId(roomID(), boardID(), accept);
}

} // namespace kavo
