#pragma once

#include "platform/services/Reachability.h"
#include "platform/ui/Screen.h"

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Replacements for the machine's own facts, so tests see the same values on every
// machine. Unset fields keep the machine's value.
struct DeviceFacts {
    std::optional<std::string> model;
    std::optional<std::string> machine;
    std::optional<std::string> systemName;
    std::optional<std::string> systemVersion;
    std::optional<std::string> uniqueIdentifier;
    std::optional<std::string> carrierName;
    std::optional<NetworkStatus> networkStatus;
    std::optional<int64_t> freeMemory;
    std::optional<double> batteryLevel;
    std::optional<double> screenScale;
};

// Facts about the machine the client runs on, sent to the server with the client
// information. Safe from any thread.
class Device {
public:
    static std::string model();         // "Linux"
    static std::string machine();       // the hardware name (uname -m), e.g. "x86_64"
    static std::string systemName();    // uname -s
    static std::string systemVersion(); // uname -r
    // Stable for this machine: a hash of its machine id, never the id itself.
    static std::string uniqueIdentifier();
    // Empty: no mobile carrier here (settable for a developer who wants one).
    static std::string carrierName();
    static void setCarrierName(const std::string& name);

    static NetworkStatus networkStatus();
    // "WIFI", "GPRS/3G" or "Others", from networkStatus().
    static std::string networkType();
    // Bytes of memory available to programs (MemAvailable), 0 when unknown.
    static int64_t freeMemory();
    // 0..1 from the first battery, -1 when the machine has none.
    static double batteryLevel();
    static double screenScale();
    static ui::Idiom idiom() { return ui::Screen::idiom(); }

    static void setForTesting(const DeviceFacts& facts);
    static void resetForTesting();
};

} // namespace platform
