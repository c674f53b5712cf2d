#pragma once

#include "table/registry/GameMessageHandler.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace kavo {

class ReplyReader;
class TienLenLogicHandler;
struct CardInfo;

// The Tien Len handler (game type 3): reads the sixteen table commands on the reader
// thread and hands their fields to the logic handler, one call per command. It keeps
// nothing between messages. Tien Len MB reads the same layouts with its own logic
// handler and its own instant-win body (readForceFinishCards).
class TienLenMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 3;
    static const std::shared_ptr<TienLenMessageHandler>& getInstance();
    TienLenMessageHandler();

    void onMessage(Message& message) override;
    // The logic handler the fields go to (tests put a recording one in; nullptr
    // gives back the game's own).
    void setGameLogicHandler(TienLenLogicHandler* handler);

protected:
    TienLenMessageHandler(int8_t gameType, const char* name, TienLenLogicHandler& logic);
    // The winner's cards of an instant win (53), after the winner id: every byte left.
    virtual void readForceFinishCards(ReplyReader& reader, CardInfo& info) const;

private:
    void dispatch(Message& message, TienLenLogicHandler& logic) const;
    TienLenLogicHandler& ownLogic_;
    std::atomic<TienLenLogicHandler*> logic_;
};

} // namespace kavo
