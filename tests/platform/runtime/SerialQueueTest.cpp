#include "platform/runtime/SerialQueue.h"

#include "platform/runtime/Log.h"
#include "tests/platform/runtime/Marks.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace platform;
using platform::test::Marks;

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

// Standard error, where the log writes its lines, goes to a file in a folder of the test's
// own (mkdtemp) until `text()` gives back what was written and puts standard error back.
class WrittenLog {
public:
    WrittenLog() {
        std::string pattern = (std::filesystem::temp_directory_path() / "serial-queue-log-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) return;
        folder_ = pattern;
        file_ = std::fopen((folder_ / "stderr").c_str(), "w");
        if (!file_) return;
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        if (saved_ >= 0) ::dup2(::fileno(file_), STDERR_FILENO);
    }
    ~WrittenLog() {
        restore();
        if (!folder_.empty()) std::filesystem::remove_all(folder_);
    }
    bool capturing() const { return saved_ >= 0; }
    std::string text() {
        restore();
        std::ifstream in(folder_ / "stderr");
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }

private:
    void restore() {
        if (saved_ >= 0) {
            std::fflush(stderr);
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
            saved_ = -1;
        }
        if (file_) std::fclose(file_);
        file_ = nullptr;
    }
    std::filesystem::path folder_;
    std::FILE* file_ = nullptr;
    int saved_ = -1;
};

// The written line that ends with `line`, or empty.
std::string writtenLine(const std::string& text, const std::string& line) {
    std::istringstream lines(text);
    for (std::string written; std::getline(lines, written);)
        if (written.size() >= line.size() && written.compare(written.size() - line.size(), line.size(), line) == 0)
            return written;
    return "";
}
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
        Marks marks;
        queue->setTestHook([&](SerialQueue::TestMoment moment) {
            if (moment == SerialQueue::TestMoment::Stopping) marks.mark("stopping");
        });
        queue->async([&] {
            started = true;
            gate.pass();
            ++ran;
        });
        for (int i = 0; i < 3; ++i)
            queue->async([&] { ++ran; });
        while (!started.load())
            std::this_thread::yield();
        // Opened from elsewhere once the destructor marked the queue stopping, so the three
        // tasks are still queued when the queue is told to stop.
        std::thread opener([&] {
            EXPECT_TRUE(marks.waitFor("stopping"));
            gate.open();
        });
        queue.reset();
        opener.join();
    }
    EXPECT_EQ(ran.load(), 4);
}

// The task ends only once the wait has either begun or returned, so a wait that does not
// wait for it returns while it still runs, every time.
TEST(SerialQueue, WaitUntilIdleReturnsOnlyAfterTheRunningTaskEnded) {
    Marks marks;
    SerialQueue queue("idle");
    queue.setTestHook([&](SerialQueue::TestMoment moment) {
        if (moment == SerialQueue::TestMoment::IdleWaits) marks.mark("idle waits");
    });
    std::atomic<bool> started{false};
    std::atomic<bool> finished{false};
    queue.async([&] {
        started = true;
        EXPECT_NE(marks.waitForAny({"idle waits", "idle returned"}), "");
        finished = true;
    });
    while (!started.load())
        std::this_thread::yield();
    queue.waitUntilIdle();
    const bool finishedWhenIdle = finished.load();
    marks.mark("idle returned");
    EXPECT_TRUE(finishedWhenIdle);
}

TEST(SerialQueue, WaitUntilIdleWaitsForTasksQueuedBehindTheRunningOne) {
    Marks marks;
    SerialQueue queue("idle-behind");
    queue.setTestHook([&](SerialQueue::TestMoment moment) {
        if (moment == SerialQueue::TestMoment::IdleWaits) marks.mark("idle waits");
    });
    Gate gate;
    std::atomic<int> ran{0};
    queue.async([&] {
        gate.pass();
        ++ran;
    });
    queue.async([&] { ++ran; });
    // Opened once the wait has begun (or, wrongly, returned), the second task still queued.
    std::thread opener([&] {
        EXPECT_NE(marks.waitForAny({"idle waits", "idle returned"}), "");
        gate.open();
    });
    queue.waitUntilIdle();
    const int ranWhenIdle = ran.load();
    marks.mark("idle returned");
    opener.join();
    EXPECT_EQ(ranWhenIdle, 2);
}

TEST(SerialQueue, AnIdleQueueHasNothingToWaitFor) {
    SerialQueue queue("empty");
    queue.waitUntilIdle();
    EXPECT_EQ(queue.name(), "empty");
}

// A maintainer reading the log tells the queue's lines from the others' by the thread's
// name the log writes in brackets.
TEST(SerialQueue, ALineLoggedByATaskCarriesTheQueuesName) {
    setLogSink(nullptr); // the log as the program writes it: to standard error
    WrittenLog written;
    ASSERT_TRUE(written.capturing());
    {
        SerialQueue queue("ledger-writer");
        queue.sync([] { log("the ledger is written"); });
    }
    const std::string line = writtenLine(written.text(), " the ledger is written");
    ASSERT_NE(line, "") << "the task's line was not written";
    EXPECT_NE(line.find(" [ledger-writer] "), std::string::npos) << line;
}

// The system keeps 15 characters of a thread's name: a longer queue name is cut there, not
// lost.
TEST(SerialQueue, ALongQueueNameIsWrittenCutToFifteenCharacters) {
    setLogSink(nullptr);
    WrittenLog written;
    ASSERT_TRUE(written.capturing());
    {
        SerialQueue queue("mailbox-read-ahead");
        queue.sync([] { log("the next mails are read"); });
    }
    const std::string line = writtenLine(written.text(), " the next mails are read");
    ASSERT_NE(line, "") << "the task's line was not written";
    EXPECT_NE(line.find(" [mailbox-read-ah] "), std::string::npos) << line;
}
