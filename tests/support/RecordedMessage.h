#pragma once

#include "tools/portal-server/RecordedMessage.h"

namespace kavo::test {

using portalserver::RecordedMessage;

} // namespace kavo::test
