#pragma once

#include "games/cotuong/CoTuongMessageHandler.h"

#include <atomic>
#include <memory>

namespace kavo {

class CoUpLogicHandler;

// The hidden-piece Chinese chess handler (game type 20): the Chinese chess handler's
// room commands and sub-ids under the game command 86, and the captured pieces (sub 33).
class CoUpMessageHandler : public CoTuongMessageHandler {
public:
    static constexpr int8_t kGameType = 20;
    static constexpr int16_t kGameCommand = 86;
    static const std::shared_ptr<CoUpMessageHandler>& getInstance();
    CoUpMessageHandler();

    // The logic handler the fields go to (tests put a recording one in; nullptr puts the
    // game's own back).
    void setGameLogicHandler(CoUpLogicHandler* handler);

protected:
    void onOtherSub(int8_t sub, ReplyReader& reader) override;

private:
    std::atomic<CoUpLogicHandler*> coUpLogicHandler_;
};

} // namespace kavo
