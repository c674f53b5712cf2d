#pragma once

#include "table/GameMessageHandler.h"

#include <memory>

namespace kavo {

// The Mau Binh handler (game type 16): takes the game's replies on the reader thread.
class MauBinhMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 16;
    static const std::shared_ptr<MauBinhMessageHandler>& getInstance();
    MauBinhMessageHandler();
};

} // namespace kavo
