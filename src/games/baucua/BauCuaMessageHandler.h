#pragma once

#include "table/registry/GameMessageHandler.h"

#include <memory>

namespace kavo {

// The Bau Cua handler (game type 18): takes the game's replies on the reader thread.
class BauCuaMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 18;
    static const std::shared_ptr<BauCuaMessageHandler>& getInstance();
    BauCuaMessageHandler();
};

} // namespace kavo
