#pragma once

#include <optional>
#include <set>
#include <string>

namespace socialnet {

// Names of the kinds of diagnostic logging the library can do.
inline constexpr const char* SNLoggingBehaviorSNRequests = "sn_requests";
inline constexpr const char* SNLoggingBehaviorSNURLConnections = "snurl_connections";
inline constexpr const char* SNLoggingBehaviorAccessTokens = "include_access_tokens";
inline constexpr const char* SNLoggingBehaviorSessionStateTransitions = "state_transitions";
inline constexpr const char* SNLoggingBehaviorPerformanceCharacteristics = "perf_characteristics";

// The library's process-wide switches. No logging set is installed by default, so
// nothing is logged; the application never installs one.
class SNSettings {
public:
    using Behaviors = std::set<std::string>;

    // nullopt until a set is installed.
    static std::optional<Behaviors> loggingBehavior();
    static void setLoggingBehavior(std::optional<Behaviors> behaviors);
    // True when the installed set holds the name.
    static bool isLoggingBehaviorOn(const std::string& behavior);

    static bool shouldAutoPublishInstall();
    static void setShouldAutoPublishInstall(bool on);
    // Announces this install to the social network once per process (when allowed),
    // 0.1 s later on the main run loop; without an id the default app id is used.
    static void autoPublishInstall(const std::optional<std::string>& appID);
    // The announcement itself: with an attribution id ("sn_app_attribution"
    // pasteboard) or an advertising id, and no date stored for the app yet, asks
    // whether the app takes attribution and posts the install event.
    static void publishInstall(const std::optional<std::string>& appID);
    // Makes the once-per-process scheduling possible again (tests).
    static void resetInstallPingForTesting();
};

} // namespace socialnet
