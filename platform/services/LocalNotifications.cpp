#include "platform/services/LocalNotifications.h"

#include "platform/runtime/Log.h"

#include <mutex>

namespace platform {

namespace {
std::mutex& listMutex() {
    static std::mutex mutex;
    return mutex;
}
std::vector<LocalNotification>& list() {
    static auto* notifications = new std::vector<LocalNotification>();
    return *notifications;
}
} // namespace

void LocalNotifications::schedule(const LocalNotification& notification) {
    log("LocalNotifications: scheduled \"" + notification.body + "\"");
    std::lock_guard<std::mutex> lock(listMutex());
    list().push_back(notification);
}

void LocalNotifications::cancelAll() {
    std::lock_guard<std::mutex> lock(listMutex());
    list().clear();
}

std::vector<LocalNotification> LocalNotifications::scheduled() {
    std::lock_guard<std::mutex> lock(listMutex());
    return list();
}

} // namespace platform
