#pragma once

#include "games/maubinh/MauBinhLogicHandler.h"
#include "table/base/TienLenPlayer.h"
#include "table/room/RoomMessageHandler.h"

#include <memory>

namespace kavo {

class ReplyReader;

// The Mau Binh handler (game type 16): the room commands (roomRules) and the game
// command 47, read on the reader thread into the logic handler. A message that cannot
// be read whole is logged and dropped; a join always gives four places; a result row
// is read only while a whole row remains.
class MauBinhMessageHandler : public RoomMessageHandler<MauBinhLogicHandler, TienLenPlayer> {
public:
    static constexpr int8_t kGameType = 16;
    static constexpr int kSeats = 4;
    static constexpr size_t kResultRowBytes = 32;
    static const std::shared_ptr<MauBinhMessageHandler>& getInstance();
    MauBinhMessageHandler();
    // How the table reads the room commands.
    static RoomRules<TienLenPlayer> roomRules();

protected:
    void readGameCommand(int16_t command, ReplyReader& reader, MauBinhLogicHandler& logic) override;

private:
    void onMessageMauBinh(ReplyReader& reader, MauBinhLogicHandler& logic);
};

} // namespace kavo
