#pragma once

#include "tools/portal-server/PortalServer.h"

namespace kavo::test {

// The tests' game server: the portal server the portal stub serves with too, scripted by
// each test's handlers.
using TestPortal = portalserver::PortalServer;

} // namespace kavo::test
