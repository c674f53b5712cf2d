#pragma once

#include "table/GameMessageHandler.h"

#include <memory>

namespace kavo {

// The hidden-piece Chinese chess handler (game type 20): takes the game's replies on the reader thread.
class CoUpMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 20;
    static const std::shared_ptr<CoUpMessageHandler>& getInstance();
    CoUpMessageHandler();
};

} // namespace kavo
