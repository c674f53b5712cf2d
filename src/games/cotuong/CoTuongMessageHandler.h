#pragma once

#include "table/GameMessageHandler.h"

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
    // The logic handler the fields go to (tests put a recording one in).
    void setGameLogicHandler(CoTuongLogicHandler* handler);

private:
    void onMessageCoTuong(ReplyReader& reader);
    std::atomic<CoTuongLogicHandler*> gameLogicHandler_;
};

} // namespace kavo
