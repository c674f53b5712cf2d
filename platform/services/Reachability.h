#pragma once

#include "platform/runtime/RunLoop.h"

#include <memory>
#include <optional>
#include <string>

namespace platform {

// Numbered as the client stores them.
enum class NetworkStatus { NotReachable = 0, ReachableViaWiFi = 1, ReachableViaWWAN = 2 };

// Posted through NotificationCenter::defaultCenter() (sender: the Reachability,
// userInfo "status": the new status as a number) when a started notifier sees the
// status change.
inline constexpr const char* kReachabilityChangedNotification = "kNetworkReachabilityChangedNotification";

// Whether the network can be reached, read from the machine's interfaces: a
// non-loopback interface that is up with an IPv4 address counts as Wi-Fi; without
// one nothing is reachable. There is no mobile network here. A started notifier
// looks again every 2 seconds on a timer of the main run loop.
class Reachability {
public:
    static std::shared_ptr<Reachability> forInternetConnection();
    // A loopback host (127.x, localhost, ::1) is always reachable: the local portal
    // server used in development needs no network.
    static std::shared_ptr<Reachability> reachabilityForHost(const std::string& host);
    ~Reachability();

    NetworkStatus currentStatus() const;
    // Call on the main thread; the notifier stops when the object goes away.
    bool startNotifier();
    void stopNotifier();
    const std::string& host() const { return host_; }

    // Tests force a status for every Reachability (nullopt gives the machine's own back).
    static void setForcedStatus(std::optional<NetworkStatus> status);
    // The machine's interfaces, ignoring any forced status.
    static NetworkStatus interfaceStatus();

    static constexpr double kPollInterval = 2.0;

private:
    explicit Reachability(std::string host) : host_(std::move(host)) {}
    void poll();

    std::string host_; // empty for the internet connection
    std::shared_ptr<Timer> timer_;
    NetworkStatus lastStatus_ = NetworkStatus::NotReachable;
};

} // namespace platform
