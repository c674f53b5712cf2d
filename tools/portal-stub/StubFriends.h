#pragma once

#include "tests/support/TestPortal.h"

namespace portalstub {

// The stub's friends: nobody yet. The friend list (104, sub 5) comes back empty, so the
// game grid's list stops waiting at once.
void installFriends(kavo::test::TestPortal& portal);

} // namespace portalstub
