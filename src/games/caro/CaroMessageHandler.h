#pragma once

#include "table/registry/GameMessageHandler.h"

#include <memory>

namespace kavo {

// The Caro handler (game type 1): takes the game's replies on the reader thread.
class CaroMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 1;
    static const std::shared_ptr<CaroMessageHandler>& getInstance();
    CaroMessageHandler();
};

} // namespace kavo
