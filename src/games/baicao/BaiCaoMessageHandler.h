#pragma once

#include "table/GameMessageHandler.h"

#include <memory>

namespace kavo {

// The Bai Cao handler (game type 11): takes the game's replies on the reader thread.
class BaiCaoMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 11;
    static const std::shared_ptr<BaiCaoMessageHandler>& getInstance();
    BaiCaoMessageHandler();
};

} // namespace kavo
