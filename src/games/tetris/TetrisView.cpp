#include "games/tetris/TetrisView.h"

#include "games/tetris/TetrisMessageHandler.h"

namespace kavo {

TetrisView::TetrisView() : GameTableView(TetrisMessageHandler::kGameType, "TetrisView", "KAVO_tetris") {}

} // namespace kavo
