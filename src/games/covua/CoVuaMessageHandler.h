#pragma once

#include "table/registry/GameMessageHandler.h"

#include <memory>

namespace kavo {

// The chess handler (game type 9): takes the game's replies on the reader thread.
class CoVuaMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 9;
    static const std::shared_ptr<CoVuaMessageHandler>& getInstance();
    CoVuaMessageHandler();
};

} // namespace kavo
