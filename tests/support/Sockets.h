#pragma once

#include "tests/support/StateWaits.h"
#include "tools/portal-server/Sockets.h"

#include <string>
#include <sys/socket.h>

namespace kavo::test {

// The loopback sockets of the portal server, for the tests' own servers and clients.
using portalserver::connectToLoopback;
using portalserver::Fd;
using portalserver::listenOnLoopback;
using portalserver::readExact;
using portalserver::sendAll;
using portalserver::setResetOnClose;
using portalserver::StopSignal;
using portalserver::waitReadable;
using portalserver::WaitResult;

// Everything the other end sends on `fd` until it ends the connection, looked at until then
// (the bound is for one that never does).
inline std::string readUntilClosed(int fd, double bound = kStateWait) {
    const StopSignal never;
    std::string data;
    bool closed = false;
    (void)lookUntil(
        [&] {
            char buffer[4096];
            while (!closed && waitReadable(fd, never, 0) == WaitResult::Ready) {
                const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
                if (n <= 0)
                    closed = true;
                else
                    data.append(buffer, size_t(n));
            }
            return closed;
        },
        bound);
    return data;
}

} // namespace kavo::test
