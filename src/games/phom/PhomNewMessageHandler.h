#pragma once

#include "games/phom/PhomNewLogicHandler.h"
#include "table/base/TienLenPlayer.h"
#include "table/room/RoomMessageHandler.h"

#include <memory>

namespace kavo {

class ReplyReader;

// The Phom handler (game type 13): the room commands (roomRules) and the game's own
// commands, read on the reader thread into the logic handler, one call per command. A
// command cut short reaches nobody; lists longer than the table holds keep their first
// entries.
class PhomNewMessageHandler : public RoomMessageHandler<PhomNewLogicHandler, TienLenPlayer> {
public:
    static constexpr int8_t kGameType = 13;
    static const std::shared_ptr<PhomNewMessageHandler>& getInstance();
    PhomNewMessageHandler();
    // How the table reads the room commands.
    static RoomRules<TienLenPlayer> roomRules();

protected:
    void readGameCommand(int16_t command, ReplyReader& reader, PhomNewLogicHandler& logic) override;
};

} // namespace kavo
