#pragma once

#include "table/GameMessageHandler.h"

#include <memory>

namespace kavo {

// The Phom handler (game type 13): takes the game's replies on the reader thread.
class PhomNewMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 13;
    static const std::shared_ptr<PhomNewMessageHandler>& getInstance();
    PhomNewMessageHandler();
};

} // namespace kavo
