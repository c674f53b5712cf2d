#include "tools/portal-stub/StubDelayedSender.h"

namespace portalstub {

StubDelayedSender::StubDelayedSender(StubSender& sender) : sender_(sender), thread_([this] { run(); }) {}

StubDelayedSender::~StubDelayedSender() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void StubDelayedSender::send(kavo::Message message, std::chrono::milliseconds delay) {
    {
        std::lock_guard lock(mutex_);
        queue_.emplace(std::chrono::steady_clock::now() + delay, std::move(message));
    }
    changed_.notify_all();
}

void StubDelayedSender::run() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (queue_.empty()) {
            changed_.wait(lock);
            continue;
        }
        const auto due = queue_.begin()->first;
        if (changed_.wait_until(lock, due) == std::cv_status::timeout || std::chrono::steady_clock::now() >= due) {
            auto node = queue_.extract(queue_.begin());
            lock.unlock();
            sender_.send(node.mapped());
            lock.lock();
        }
    }
}

} // namespace portalstub
