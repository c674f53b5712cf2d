#pragma once

#include "tests/support/TestPortal.h"

namespace portalstub {

// The event notice the server sends once a player is signed in (reply 46): the client
// runs it along its top bar. Sent in answer to the client information that follows every
// sign-in (2800).
void installNotices(kavo::test::TestPortal& portal);

} // namespace portalstub
