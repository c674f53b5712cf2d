#include "games/tetris/TetrisMessageHandler.h"

namespace kavo {

const std::shared_ptr<TetrisMessageHandler>& TetrisMessageHandler::getInstance() {
    static const std::shared_ptr<TetrisMessageHandler> instance = std::make_shared<TetrisMessageHandler>();
    return instance;
}

TetrisMessageHandler::TetrisMessageHandler() : GameMessageHandler(kGameType, "TetrisMessageHandler") {}

} // namespace kavo
