#include "platform/runtime/SerialQueue.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

using namespace platform;

namespace {
// A gate a task waits at until the test opens it.
class Gate {
public:
    void open() {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        cv_.notify_all();
    }
    void pass() {
        std::unique_lock lock(mutex_);
        cv_.wait(lock, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool open_ = false;
};
} // namespace

TEST(SerialQueue, TasksRunOneAtATimeInTheOrderQueued) {
    std::vector<int> seen;
    {
        SerialQueue queue("order");
        for (int i = 0; i < 50; ++i)
            queue.async([&seen, i] { seen.push_back(i); });
        queue.waitUntilIdle();
        ASSERT_EQ(seen.size(), 50u);
    }
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(seen[size_t(i)], i);
}

TEST(SerialQueue, SyncWaitsForTheTaskAndRunsInlineOnTheQueue) {
    SerialQueue queue("sync");
    int value = 0;
    queue.sync([&] { value = 1; });
    EXPECT_EQ(value, 1);
    bool innerRan = false;
    bool onQueue = false;
    queue.sync([&] {
        onQueue = queue.isCurrent();
        queue.sync([&] { innerRan = true; }); // would never end if it waited
    });
    EXPECT_TRUE(onQueue);
    EXPECT_TRUE(innerRan);
    EXPECT_FALSE(queue.isCurrent());
}

// Work queued before the queue goes away still runs (it may close files).
TEST(SerialQueue, DestroyingTheQueueRunsWhatIsStillQueued) {
    Gate gate;
    std::atomic<int> ran{0};
    std::atomic<bool> started{false};
    {
        auto queue = std::make_unique<SerialQueue>("closing");
        queue->async([&] {
            started = true;
            gate.pass();
            ++ran;
        });
        for (int i = 0; i < 3; ++i)
            queue->async([&] { ++ran; });
        while (!started.load())
            std::this_thread::yield();
        // Opened from elsewhere once the destructor is waiting, so the three tasks are
        // still queued when the queue is told to stop.
        std::thread opener([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            gate.open();
        });
        queue.reset();
        opener.join();
    }
    EXPECT_EQ(ran.load(), 4);
}

TEST(SerialQueue, WaitUntilIdleReturnsOnlyAfterTheRunningTaskEnded) {
    SerialQueue queue("idle");
    std::atomic<bool> started{false};
    std::atomic<bool> finished{false};
    queue.async([&] {
        started = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        finished = true;
    });
    while (!started.load())
        std::this_thread::yield();
    queue.waitUntilIdle();
    EXPECT_TRUE(finished.load());
}

TEST(SerialQueue, WaitUntilIdleWaitsForTasksQueuedBehindTheRunningOne) {
    SerialQueue queue("idle-behind");
    Gate gate;
    std::atomic<int> ran{0};
    queue.async([&] {
        gate.pass();
        ++ran;
    });
    queue.async([&] { ++ran; });
    std::thread opener([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        gate.open();
    });
    queue.waitUntilIdle();
    opener.join();
    EXPECT_EQ(ran.load(), 2);
}

TEST(SerialQueue, AnIdleQueueHasNothingToWaitFor) {
    SerialQueue queue("empty");
    queue.waitUntilIdle();
    EXPECT_EQ(queue.name(), "empty");
}
