#pragma once

#include "tools/portal-server/Sockets.h"

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

} // namespace kavo::test
