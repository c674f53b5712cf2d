#pragma once

#include <string>

namespace platform {

// A new random (version 4) UUID as upper-case text in 8-4-4-4-12 groups,
// "E621E1F8-C36C-495A-93FC-0C247A3E6E5F". Safe from any thread.
std::string newUuidString();

} // namespace platform
