#pragma once

#include <string>
#include <utility>

namespace platform {

// The advertising identifier: none on this machine, and tracking is off.
class AdvertisingId {
public:
    // Empty: this machine has none (unless a test gave one).
    static std::string identifier() { return slot(); }
    static bool isTrackingEnabled() { return false; }
    static void setIdentifierForTesting(std::string identifier) { slot() = std::move(identifier); }

private:
    // Main thread only.
    static std::string& slot() {
        static std::string value;
        return value;
    }
};

} // namespace platform
