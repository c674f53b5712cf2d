#pragma once

#include "games/cotuong/CoTuongLogicHandler.h"
#include "table/base/ChessPlayer.h"
#include "table/room/RoomMessageHandler.h"

#include <memory>

namespace kavo {

class ReplyReader;

// The Chinese chess handler (game type 5): the room commands (roomRules) and the game
// command 77, read on the reader thread into the logic handler. It keeps nothing
// between messages. A row or block that cannot be read whole ends its list; what was
// read whole before it is delivered.
class CoTuongMessageHandler : public RoomMessageHandler<CoTuongLogicHandler, ChessPlayer> {
public:
    static constexpr int8_t kGameType = 5;
    static constexpr int16_t kGameCommand = 77;
    static const std::shared_ptr<CoTuongMessageHandler>& getInstance();
    CoTuongMessageHandler();
    // How the table reads the room commands.
    static RoomRules<ChessPlayer> roomRules();

protected:
    // A game that reads the same room commands and sub-ids under another game command.
    CoTuongMessageHandler(int8_t gameType, const char* name, int16_t gameCommand, CoTuongLogicHandler& ownLogic);
    void readGameCommand(int16_t command, ReplyReader& reader, CoTuongLogicHandler& logic) override;
    // A sub-id of the game command that Chinese chess does not read (28, 33, 41 and the
    // others): ignored here.
    virtual void onOtherSub(int8_t /*sub*/, ReplyReader& /*reader*/) {}

private:
    void onMessageCoTuong(ReplyReader& reader, CoTuongLogicHandler& logic);
    int16_t gameCommand_;
};

} // namespace kavo
