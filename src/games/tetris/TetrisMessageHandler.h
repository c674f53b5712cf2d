#pragma once

#include "table/registry/GameMessageHandler.h"

#include <memory>

namespace kavo {

// The Tetris handler (game type 8): takes the game's replies on the reader thread.
class TetrisMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 8;
    static const std::shared_ptr<TetrisMessageHandler>& getInstance();
    TetrisMessageHandler();
};

} // namespace kavo
