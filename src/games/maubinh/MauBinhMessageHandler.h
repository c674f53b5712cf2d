#pragma once

#include "table/registry/GameMessageHandler.h"

#include <atomic>
#include <memory>

namespace kavo {

class MauBinhLogicHandler;
class ReplyReader;

// The Mau Binh handler (game type 16): reads the table's room commands and the game
// command 47 on the reader thread and hands the fields to the logic handler. A
// message that cannot be read whole is logged and dropped; a join always gives four
// places; a result row is read only while a whole row remains.
class MauBinhMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 16;
    static constexpr int kSeats = 4;
    static constexpr size_t kResultRowBytes = 32;
    static const std::shared_ptr<MauBinhMessageHandler>& getInstance();
    MauBinhMessageHandler();

    void onMessage(Message& message) override;
    // The logic handler the fields go to (tests put a recording one in).
    void setGameLogicHandler(MauBinhLogicHandler* handler);

private:
    void onMessageMauBinh(ReplyReader& reader);
    std::atomic<MauBinhLogicHandler*> maubinhLogicHandler_;
};

} // namespace kavo
