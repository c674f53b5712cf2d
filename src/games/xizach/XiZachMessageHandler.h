#pragma once

#include "table/registry/GameMessageHandler.h"

#include <atomic>
#include <memory>

namespace kavo {

class XiZachLogicHandler;

// The Xi Zach handler (game type 2): reads the game's replies on the reader thread
// and hands them to the logic handler. A reply cut short is logged and dropped; hand
// lists stop at the first record that cannot be read whole.
class XiZachMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 2;
    static const std::shared_ptr<XiZachMessageHandler>& getInstance();
    XiZachMessageHandler();

    void onMessage(Message& message) override;
    // Tests put a recording handler in; nullptr puts the real one back.
    void setLogicHandler(XiZachLogicHandler* handler);

private:
    std::atomic<XiZachLogicHandler*> logic_;
};

} // namespace kavo
