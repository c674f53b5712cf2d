#pragma once

#include "table/GameMessageHandler.h"

#include <memory>

namespace kavo {

// The Chinese chess handler (game type 5): takes the game's replies on the reader thread.
class CoTuongMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 5;
    static const std::shared_ptr<CoTuongMessageHandler>& getInstance();
    CoTuongMessageHandler();
};

} // namespace kavo
