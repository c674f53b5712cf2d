#pragma once

#include <map>
#include <string>
#include <vector>

namespace platform {

enum class RepeatInterval { None, Day, Week, Weekday };

struct LocalNotification {
    double fireDate = 0; // seconds since 1970
    std::string body;
    std::string action;
    std::string soundName; // "default" for the default sound
    int badgeNumber = 0;
    RepeatInterval repeatInterval = RepeatInterval::None;
    std::map<std::string, std::string> userInfo;
};

// Reminders the system would show later. Nothing shows them on this machine: they
// are kept in a list so the client can cancel them and tests can read them.
class LocalNotifications {
public:
    static void schedule(const LocalNotification& notification);
    static void cancelAll();
    static std::vector<LocalNotification> scheduled();
};

} // namespace platform
