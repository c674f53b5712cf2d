#pragma once

#include "games/xizach/XiZachLogicHandler.h"
#include "table/room/RoomMessageHandler.h"

#include <memory>

namespace kavo {

// The Xi Zach handler (game type 2): the stake tables' room commands
// (StakeTableLogic::roomRules) and the game's own replies, read on the reader thread
// into the logic handler. A reply cut short is logged and dropped; lists stop at the
// first record that cannot be read whole.
class XiZachMessageHandler : public RoomMessageHandler<XiZachLogicHandler, Player> {
public:
    static constexpr int8_t kGameType = 2;
    static const std::shared_ptr<XiZachMessageHandler>& getInstance();
    XiZachMessageHandler();

protected:
    void readGameCommand(int16_t command, ReplyReader& reader, XiZachLogicHandler& logic) override;
};

} // namespace kavo
