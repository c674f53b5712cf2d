#pragma once

#include "table/registry/GameMessageHandler.h"

#include <atomic>
#include <memory>

namespace kavo {

class CoTuongLogicHandler;
class ReplyReader;

// The Chinese chess handler (game type 5): reads the table's room commands and the
// game command 77 on the reader thread and hands the fields to the logic handler.
// It keeps nothing between messages. A row or block that cannot be read whole ends
// its list; what was read whole before it is delivered.
class CoTuongMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 5;
    static const std::shared_ptr<CoTuongMessageHandler>& getInstance();
    CoTuongMessageHandler();

    void onMessage(Message& message) override;
    // The logic handler the fields go to (tests put a recording one in; nullptr puts
    // the game's own back).
    void setGameLogicHandler(CoTuongLogicHandler* handler);

protected:
    // A game that reads the same room commands and sub-ids under another game command.
    CoTuongMessageHandler(int8_t gameType, const char* name, int16_t gameCommand, CoTuongLogicHandler* defaultHandler);
    // A sub-id of the game command that Chinese chess does not read (28, 33, 41 and the
    // others): ignored here.
    virtual void onOtherSub(int8_t /*sub*/, ReplyReader& /*reader*/) {}

private:
    void onMessageCoTuong(ReplyReader& reader);
    int16_t gameCommand_;
    CoTuongLogicHandler* defaultHandler_;
    std::atomic<CoTuongLogicHandler*> gameLogicHandler_;
};

} // namespace kavo
