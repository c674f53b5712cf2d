#pragma once

#include "table/registry/GameMessageHandler.h"

#include <atomic>
#include <memory>

namespace kavo {

class CaoRuaLogicHandler;

// The Cao Rua handler (game type 17): reads the table's commands on the reader thread
// and hands the fields to the logic handler. It keeps nothing between messages and
// changes nothing: a message that cannot be read whole reaches nobody, and a list of
// records ends at the first record that cannot be read whole.
class CaoRuaMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 17;
    static const std::shared_ptr<CaoRuaMessageHandler>& getInstance();
    CaoRuaMessageHandler();

    void onMessage(Message& message) override;
    // The logic handler the fields go to (tests put a recording one in; nullptr
    // restores the real one).
    void setGameLogicHandler(CaoRuaLogicHandler* handler);

private:
    std::atomic<CaoRuaLogicHandler*> gameLogicHandler_;
};

} // namespace kavo
