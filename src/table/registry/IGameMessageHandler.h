#pragma once

#include "net/Message.h"

#include <cstdint>

namespace kavo {

// One game's message handler. The global reply dispatcher hands it every reply
// whose command id is not a portal-wide one, on the connection's reader thread.
class IGameMessageHandler {
public:
    virtual ~IGameMessageHandler() = default;

    // True for the handler's own game type.
    virtual bool isGameType(int8_t type) const = 0;
    // One reply, its cursor at the start of the body.
    virtual void onMessage(Message& message) = 0;
    // Called once after the handler became the current one.
    virtual void onPostSetupGameType() = 0;
};

} // namespace kavo
