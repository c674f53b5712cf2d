#pragma once

#include "table/GameMessageHandler.h"

#include <memory>

namespace kavo {

// The Xi Zach handler (game type 2): takes the game's replies on the reader thread.
class XiZachMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 2;
    static const std::shared_ptr<XiZachMessageHandler>& getInstance();
    XiZachMessageHandler();
};

} // namespace kavo
