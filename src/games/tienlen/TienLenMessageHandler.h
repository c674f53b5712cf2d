#pragma once

#include "games/tienlen/TienLenLogicHandler.h"
#include "table/base/TienLenPlayer.h"
#include "table/room/RoomMessageHandler.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kavo {

class ReplyReader;
struct CardInfo;

// The Tien Len handler (game type 3): the room commands (roomRules) and the game's own
// commands, read on the reader thread into the logic handler, one call per command.
// Tien Len MB reads the same layouts with its own logic handler and its own
// instant-win body (readForceFinishCards).
class TienLenMessageHandler : public RoomMessageHandler<TienLenLogicHandler, TienLenPlayer> {
public:
    static constexpr int8_t kGameType = 3;
    static const std::shared_ptr<TienLenMessageHandler>& getInstance();
    TienLenMessageHandler();
    // How the table reads the room commands.
    static RoomRules<TienLenPlayer> roomRules();

protected:
    TienLenMessageHandler(int8_t gameType, const char* name, TienLenLogicHandler& logic);
    // The winner's cards of an instant win (53), after the winner id: every byte left.
    virtual void readForceFinishCards(ReplyReader& reader, CardInfo& info) const;
    void readGameCommand(int16_t command, ReplyReader& reader, TienLenLogicHandler& logic) override;
};

} // namespace kavo
