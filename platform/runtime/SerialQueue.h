#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace platform {

// A named worker thread (the thread takes the queue's name) that runs closures one at a time, in the order they were
// queued. The thread sleeps while nothing is queued. Destroying the queue runs what
// is still queued, then joins the thread.
class SerialQueue {
public:
    explicit SerialQueue(std::string name);
    ~SerialQueue();
    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    const std::string& name() const { return name_; }

    // Queues the task and returns at once.
    void async(std::function<void()> task);
    // Queues the task and waits until it ran. On the queue's own thread it runs the
    // task inline: waiting there would never end.
    void sync(const std::function<void()>& task);
    // True on the queue's own thread.
    bool isCurrent() const;
    // Waits until nothing is queued or running (for tests).
    void waitUntilIdle();

    // The tests' hook: moments that otherwise pass in an instant, where a test holds its
    // tasks to make an order certain. Null but in tests, which set it before queuing.
    enum class TestMoment {
        Stopping,  // the destructor marked the queue stopping and goes on to join its thread
        IdleWaits, // waitUntilIdle found work queued or running and waits; the queue's lock
                   // is held (the hook must not call the queue)
    };
    void setTestHook(std::function<void(TestMoment)> hook);

private:
    void work();

    std::string name_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<std::function<void()>> tasks_;
    bool running_ = false;
    bool stopping_ = false;
    std::function<void(TestMoment)> testHook_;
    std::thread thread_;
};

} // namespace platform
