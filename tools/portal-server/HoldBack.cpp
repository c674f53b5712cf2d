#include "tools/portal-server/HoldBack.h"

#include <cstdlib>

namespace portalserver {

double HoldBack::delayFromEnvironment() {
    const char* seconds = std::getenv("KAVO_PORTAL_HOLD_BACK");
    if (!seconds || !*seconds) return 0;
    const double delay = std::atof(seconds);
    return delay > 0 ? delay : 0;
}

HoldBack::HoldBack(double seconds)
    : delay_(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds))),
      thread_([this] { run(); }) {}

HoldBack::~HoldBack() {
    stop();
}

bool HoldBack::add(Step step) {
    {
        std::lock_guard lock(mutex_);
        if (stopped_) return false;
        queue_.push_back({Clock::now() + delay_, std::move(step)});
    }
    changed_.notify_all();
    return true;
}

void HoldBack::stop() {
    {
        std::lock_guard lock(mutex_);
        stopped_ = true;
        queue_.clear();
    }
    changed_.notify_all();
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void HoldBack::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopped_ || !queue_.empty(); });
        if (stopped_) return;
        const Clock::time_point due = queue_.front().due;
        if (changed_.wait_until(lock, due, [this] { return stopped_; })) return;
        Step step = std::move(queue_.front().step);
        queue_.pop_front();
        // A step takes the server's own locks: none of it runs under this one.
        lock.unlock();
        step();
        step = nullptr;
        lock.lock();
    }
}

} // namespace portalserver
