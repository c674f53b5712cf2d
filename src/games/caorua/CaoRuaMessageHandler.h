#pragma once

#include "games/caorua/CaoRuaLogicHandler.h"
#include "table/base/TienLenPlayer.h"
#include "table/room/RoomMessageHandler.h"

#include <memory>

namespace kavo {

class ReplyReader;

// The Cao Rua handler (game type 17): the room commands (roomRules) and the game's own
// commands, read on the reader thread into the logic handler. It keeps nothing between
// messages and changes nothing: a message that cannot be read whole reaches nobody, and
// a list of records ends at the first record that cannot be read whole.
class CaoRuaMessageHandler : public RoomMessageHandler<CaoRuaLogicHandler, TienLenPlayer> {
public:
    static constexpr int8_t kGameType = 17;
    static const std::shared_ptr<CaoRuaMessageHandler>& getInstance();
    CaoRuaMessageHandler();
    // How the table reads the room commands.
    static RoomRules<TienLenPlayer> roomRules();

protected:
    void readGameCommand(int16_t command, ReplyReader& reader, CaoRuaLogicHandler& logic) override;
};

} // namespace kavo
