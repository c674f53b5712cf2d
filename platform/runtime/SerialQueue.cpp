#include "platform/runtime/SerialQueue.h"

#include <pthread.h>

namespace platform {

SerialQueue::SerialQueue(std::string name) : name_(std::move(name)) {
    thread_ = std::thread([this] { work(); });
}

SerialQueue::~SerialQueue() {
    std::function<void(TestMoment)> hook;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        hook = testHook_;
    }
    wake_.notify_one();
    if (hook) hook(TestMoment::Stopping);
    if (thread_.joinable()) thread_.join();
}

void SerialQueue::async(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    wake_.notify_one();
}

void SerialQueue::sync(const std::function<void()>& task) {
    if (isCurrent()) {
        task();
        return;
    }
    std::mutex doneMutex;
    std::condition_variable doneSignal;
    bool done = false;
    async([&] {
        task();
        std::lock_guard lock(doneMutex);
        done = true;
        doneSignal.notify_one();
    });
    std::unique_lock lock(doneMutex);
    doneSignal.wait(lock, [&] { return done; });
}

bool SerialQueue::isCurrent() const {
    return std::this_thread::get_id() == thread_.get_id();
}

void SerialQueue::waitUntilIdle() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] {
        const bool idle = tasks_.empty() && !running_;
        if (!idle && testHook_) testHook_(TestMoment::IdleWaits);
        return idle;
    });
}

void SerialQueue::setTestHook(std::function<void(TestMoment)> hook) {
    std::lock_guard lock(mutex_);
    testHook_ = std::move(hook);
}

void SerialQueue::work() {
    // The thread is known by the queue's name in the log and the system's tools (which
    // keep 15 characters of it).
    pthread_setname_np(pthread_self(), name_.substr(0, 15).c_str());
    std::unique_lock lock(mutex_);
    while (true) {
        wake_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
        // Work queued before the queue went away still runs: it may close files.
        if (tasks_.empty()) return;
        auto task = std::move(tasks_.front());
        tasks_.pop_front();
        running_ = true;
        lock.unlock();
        task();
        task = nullptr;
        lock.lock();
        running_ = false;
        if (tasks_.empty()) idle_.notify_all();
    }
}

} // namespace platform
