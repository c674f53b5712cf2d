#include "sdk/socialnet/SNSettings.h"

#include <mutex>

namespace socialnet {

namespace {

// Read on the request threads of later work as well as on the main thread.
struct Switches {
    std::mutex mutex;
    std::optional<SNSettings::Behaviors> behaviors;
    bool autoPublishInstall = true;
};

Switches& switches() {
    static Switches shared;
    return shared;
}

} // namespace

std::optional<SNSettings::Behaviors> SNSettings::loggingBehavior() {
    std::lock_guard lock(switches().mutex);
    return switches().behaviors;
}

void SNSettings::setLoggingBehavior(std::optional<Behaviors> behaviors) {
    std::lock_guard lock(switches().mutex);
    switches().behaviors = std::move(behaviors);
}

bool SNSettings::isLoggingBehaviorOn(const std::string& behavior) {
    std::lock_guard lock(switches().mutex);
    return switches().behaviors && switches().behaviors->count(behavior) != 0;
}

bool SNSettings::shouldAutoPublishInstall() {
    std::lock_guard lock(switches().mutex);
    return switches().autoPublishInstall;
}

void SNSettings::setShouldAutoPublishInstall(bool on) {
    std::lock_guard lock(switches().mutex);
    switches().autoPublishInstall = on;
}

} // namespace socialnet
