#pragma once

#include "tests/support/Sockets.h"

#include <cstdint>
#include <vector>

namespace kavo::test {

// A socket on 127.0.0.1 that listens but never accepts, with its backlog already
// full: a further connect to port() neither succeeds nor fails, it just hangs.
// For connect time-out tests.
class NeverAcceptingListener {
public:
    NeverAcceptingListener();
    uint16_t port() const { return port_; }
    // False when the backlog could not be filled (a connect would not hang).
    bool ready() const { return ready_; }

private:
    uint16_t port_ = 0;
    Fd listener_;
    std::vector<Fd> fillers_;
    bool ready_ = false;
};

} // namespace kavo::test
