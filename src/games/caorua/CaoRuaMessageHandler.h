#pragma once

#include "table/GameMessageHandler.h"

#include <memory>

namespace kavo {

// The Cao Rua handler (game type 17): takes the game's replies on the reader thread.
class CaoRuaMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 17;
    static const std::shared_ptr<CaoRuaMessageHandler>& getInstance();
    CaoRuaMessageHandler();
};

} // namespace kavo
