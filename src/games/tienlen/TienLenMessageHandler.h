#pragma once

#include "table/GameMessageHandler.h"

#include <memory>

namespace kavo {

// The Tien Len handler (game type 3): takes the game's replies on the reader thread.
class TienLenMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 3;
    static const std::shared_ptr<TienLenMessageHandler>& getInstance();
    TienLenMessageHandler();
};

} // namespace kavo
