#include "platform/runtime/Clock.h"

#include <atomic>
#include <chrono>
#include <mutex>

namespace platform {

namespace {
std::mutex clockMutex;
std::shared_ptr<Clock>& clockSlot() {
    static std::shared_ptr<Clock> clock = std::make_shared<RealClock>();
    return clock;
}
} // namespace

std::shared_ptr<Clock> Clock::current() {
    std::lock_guard<std::mutex> lock(clockMutex);
    return clockSlot();
}

double Clock::time() { return current()->now(); }

void Clock::setCurrent(std::shared_ptr<Clock> clock) {
    std::lock_guard<std::mutex> lock(clockMutex);
    clockSlot() = clock ? std::move(clock) : std::make_shared<RealClock>();
}

double RealClock::now() const {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

struct ManualClock::State {
    std::atomic<double> now{0};
};

ManualClock::ManualClock(double start) : state_(std::make_shared<State>()) { state_->now = start; }

double ManualClock::now() const { return state_->now.load(); }

void ManualClock::set(double seconds) {
    // Two threads setting at once still leave the later of their times.
    double now = state_->now.load();
    while (seconds > now && !state_->now.compare_exchange_weak(now, seconds)) {
    }
}

ScopedManualClock::ScopedManualClock() : clock_(std::make_shared<ManualClock>()) { Clock::setCurrent(clock_); }

ScopedManualClock::~ScopedManualClock() { Clock::setCurrent(nullptr); }

} // namespace platform
