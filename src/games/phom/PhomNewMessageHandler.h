#pragma once

#include "table/registry/GameMessageHandler.h"

#include <atomic>
#include <memory>

namespace kavo {

class PhomNewLogicHandler;
class ReplyReader;

// The Phom handler (game type 13): reads the table's commands on the reader thread and
// hands the fields to the logic handler, one call per command. A command cut short
// reaches nobody; lists longer than the table holds keep their first entries.
class PhomNewMessageHandler : public GameMessageHandler {
public:
    static constexpr int8_t kGameType = 13;
    static const std::shared_ptr<PhomNewMessageHandler>& getInstance();
    PhomNewMessageHandler();

    void onMessage(Message& message) override;
    // The logic handler the fields go to (tests put a recording one in).
    void setGameLogicHandler(PhomNewLogicHandler* handler);

private:
    void read(int16_t command, ReplyReader& reader, PhomNewLogicHandler& logic);
    std::atomic<PhomNewLogicHandler*> gameLogicHandler_;
};

} // namespace kavo
