#pragma once

#include "net/Message.h"

#include <cstdint>

namespace portalserver {
class PortalServer;
}

namespace portalstub {

// What an area of the stub holds of its connection: it sends the client a message of its
// own (a stub player's move, a timer's result, a friend's line a second later) and tells
// the number on the connection of the last message its thread sent. It takes no request:
// what a client sends reaches an area only through a row of the stub's table
// (StubCommands), so no area can answer a command beside it.
class StubSender {
public:
    explicit StubSender(portalserver::PortalServer& portal) : portal_(portal) {}
    StubSender(const StubSender&) = delete;
    StubSender& operator=(const StubSender&) = delete;

    // False when no client is connected.
    bool send(const kavo::Message& message);
    // Whether the client is still connected (false once his end has been read).
    bool clientHere() const;
    // The number (1 for the first) of the last message the calling thread sent on the
    // connection, 0 when it sent none.
    uint64_t lastSentByThisThread() const;

private:
    portalserver::PortalServer& portal_;
};

} // namespace portalstub
