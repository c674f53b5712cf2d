#pragma once

#include <string>

namespace platform {

// The advertising identifier: none on this machine, and tracking is off.
class AdvertisingId {
public:
    static std::string identifier() { return {}; }
    static bool isTrackingEnabled() { return false; }
};

} // namespace platform
