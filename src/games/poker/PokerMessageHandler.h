#pragma once

#include "table/registry/GameMessageHandler.h"

#include <memory>

namespace kavo {

// The poker handler (game type 4): takes the game's replies on the reader thread.
class PokerMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 4;
    static const std::shared_ptr<PokerMessageHandler>& getInstance();
    PokerMessageHandler();
};

} // namespace kavo
