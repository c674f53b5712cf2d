#include "platform/foundation/BackgroundWriter.h"

namespace platform {

BackgroundWriter::~BackgroundWriter() {
    stop();
}

bool BackgroundWriter::submit(Write write) {
    std::unique_lock lock(mutex_);
    // The exit is past its wait: nothing would keep the process for this write.
    if (stopped_ && std::this_thread::get_id() != stopper_) return false;
    if (stopping_) {
        // In the order of the calls: after what the thread still writes. Counted while it
        // waits, so that the stop, woken by the same end of a write, waits for it too.
        ++waiting_;
        if (testHook_) testHook_(TestMoment::SaveWaits);
        changed_.wait(lock, [this] { return !next_ && !busy_; });
        if (testHook_) {
            // The tests' moment: unlocked, so the stop may look meanwhile; then, as after any
            // wake-up, this write waits again for whatever began in between.
            const TestHook hook = testHook_;
            lock.unlock();
            hook(TestMoment::SaveWoken);
            lock.lock();
            changed_.wait(lock, [this] { return !next_ && !busy_; });
        }
        --waiting_;
        runLocked(write, lock);
        return true;
    }
    next_ = std::move(write);
    if (!thread_.joinable()) {
        thread_ = std::thread([this] { run(); });
        threadId_ = thread_.get_id();
    }
    changed_.notify_all();
    return true;
}

bool BackgroundWriter::wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !next_ && !busy_; });
    return lastOk_;
}

bool BackgroundWriter::lastSucceeded() const {
    std::lock_guard lock(mutex_);
    return lastOk_;
}

void BackgroundWriter::stop() {
    std::thread ending;
    TestHook hook;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        changed_.notify_all();
        ending = std::move(thread_);
        hook = testHook_;
    }
    if (hook) hook(TestMoment::Stopping);
    if (ending.joinable()) ending.join();
    std::unique_lock lock(mutex_);
    // A later thread may get the ended one's id: it is no writer.
    threadId_ = {};
    // A write that another thread began meanwhile runs on that thread: the exit waits for it.
    changed_.wait(lock, [this] {
        const bool done = !next_ && !busy_ && waiting_ == 0;
        if (!done && testHook_) testHook_(TestMoment::StopWaits);
        return done;
    });
    if (!stopped_) stopper_ = std::this_thread::get_id();
    stopped_ = true;
}

void BackgroundWriter::setTestHook(TestHook hook) {
    std::lock_guard lock(mutex_);
    testHook_ = std::move(hook);
}

bool BackgroundWriter::onWriterThread() const {
    std::lock_guard lock(mutex_);
    return std::this_thread::get_id() == threadId_;
}

void BackgroundWriter::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return next_ || stopping_; });
        if (!next_) return; // stopping, nothing left to write
        Write write = std::move(*next_);
        next_.reset();
        runLocked(write, lock);
    }
}

void BackgroundWriter::runLocked(const Write& write, std::unique_lock<std::mutex>& lock) {
    busy_ = true;
    lock.unlock();
    const bool ok = write();
    lock.lock();
    busy_ = false;
    lastOk_ = ok;
    changed_.notify_all();
}

} // namespace platform
