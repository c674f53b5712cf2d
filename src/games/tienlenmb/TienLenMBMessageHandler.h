#pragma once

#include "table/GameMessageHandler.h"

#include <memory>

namespace kavo {

// The Tien Len MB handler (game type 12): takes the game's replies on the reader thread.
class TienLenMBMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 12;
    static const std::shared_ptr<TienLenMBMessageHandler>& getInstance();
    TienLenMBMessageHandler();
};

} // namespace kavo
