#pragma once

#include "table/registry/GameMessageHandler.h"

#include <atomic>
#include <memory>

namespace kavo {

class BaiCaoLogicHandler;

// The Bai Cao handler (game type 11): reads the game's replies on the reader thread
// and hands them to the logic handler. A reply cut short is logged and dropped; lists
// stop at the first record that cannot be read whole.
class BaiCaoMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 11;
    static const std::shared_ptr<BaiCaoMessageHandler>& getInstance();
    BaiCaoMessageHandler();

    void onMessage(Message& message) override;
    // Tests put a recording handler in; nullptr puts the real one back.
    void setLogicHandler(BaiCaoLogicHandler* handler);

private:
    std::atomic<BaiCaoLogicHandler*> logic_;
};

} // namespace kavo
