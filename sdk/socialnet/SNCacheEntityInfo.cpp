#include "sdk/socialnet/SNCacheEntityInfo.h"

#include "platform/runtime/Clock.h"

#include <chrono>

namespace socialnet {

namespace {

constexpr double kSecondsFrom1970To2001 = 978307200.0;

// Wall-clock time at the first call and the platform clock then: later times move
// with the platform clock, which a test drives.
struct TimeBase {
    double wall;
    double clock;
};

} // namespace

SNCacheEntityInfo::SNCacheEntityInfo(std::string key, std::string uuid, double accessTime, uint32_t fileSize)
    : key_(std::move(key)), uuid_(std::move(uuid)), fileSize_(fileSize), accessTime_(accessTime) {}

void SNCacheEntityInfo::registerAccess() {
    accessTime_ = absoluteTimeNow();
    dirty_ = true;
}

double SNCacheEntityInfo::absoluteTimeNow() {
    static const TimeBase base{
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count() -
            kSecondsFrom1970To2001,
        platform::Clock::time()};
    return base.wall + (platform::Clock::time() - base.clock);
}

} // namespace socialnet
