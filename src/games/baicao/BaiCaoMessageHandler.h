#pragma once

#include "games/baicao/BaiCaoLogicHandler.h"
#include "table/room/RoomMessageHandler.h"

#include <memory>

namespace kavo {

// The Bai Cao handler (game type 11): the stake tables' room commands
// (StakeTableLogic::roomRules) and the game's own replies, read on the reader thread
// into the logic handler. A reply cut short is logged and dropped; lists stop at the
// first record that cannot be read whole.
class BaiCaoMessageHandler : public RoomMessageHandler<BaiCaoLogicHandler, Player> {
public:
    static constexpr int8_t kGameType = 11;
    static const std::shared_ptr<BaiCaoMessageHandler>& getInstance();
    BaiCaoMessageHandler();

protected:
    void readGameCommand(int16_t command, ReplyReader& reader, BaiCaoLogicHandler& logic) override;
};

} // namespace kavo
