#pragma once

#include "tools/portal-stub/StubCommands.h"

#include <vector>

namespace portalstub {

// The event notice the server sends once a player is signed in (reply 46): the client
// runs it along its top bar. Sent in answer to the client information that follows every
// sign-in (2800), which names the client's language (admitted before a sign-in too).
std::vector<StubCommand> noticeCommands();

} // namespace portalstub
