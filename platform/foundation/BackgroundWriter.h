#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace platform {

// One thread that runs writes, one at a time, so that the thread that asks for them never
// waits for a disk. A write handed over while an earlier one still waits replaces it (the
// writes hand over the whole state, so the last one wins and a crash loses at most that
// one). The thread starts with the first write, sleeps while there is nothing to write and
// ends with stop() or the destructor, after the write that waits.
// stop() is the exit's: what was handed over before it returns is written before it
// returns. After it, a write asked on the thread that stopped runs at once there (the exit
// runs it); one asked on another thread is refused, since the process may end under it.
class BackgroundWriter {
public:
    // A write returns whether it succeeded.
    using Write = std::function<bool()>;

    BackgroundWriter() = default;
    ~BackgroundWriter();
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;

    // While stop() runs and after it, the write runs at once on the caller's thread; after
    // it, only on the thread that stopped: elsewhere it is refused (false, nothing runs).
    [[nodiscard]] bool submit(Write write);
    // Waits until nothing waits or runs. True when the last write that ran succeeded.
    bool wait();
    // True when the last write that ran succeeded (or none ran).
    bool lastSucceeded() const;
    // Runs the write that waits, ends the thread and waits for a write that runs on another
    // caller's thread.
    void stop();
    // True on the writer's own thread (a write that runs there), false elsewhere.
    bool onWriterThread() const;

    // The tests' hook. The moments of a stop and a save that meets it pass in an instant;
    // a test holds the threads there to make a wrong order certain. Null but in tests, which
    // set it before the first write. Where the writer's lock is held the hook must not call
    // the writer (it may only signal the test's own threads).
    enum class TestMoment {
        Stopping,  // stop() marked the writer stopping and goes on to end its thread (unlocked)
        SaveWaits, // a write asked during the stop waits for the one that runs (locked)
        SaveWoken, // that write was let go, and is not yet begun (unlocked: the moment is
                   // widened, so that the stop can look at the writer right there)
        StopWaits, // stop() still waits for a write that runs or waits (locked)
    };
    using TestHook = std::function<void(TestMoment)>;
    void setTestHook(TestHook hook);

private:
    void run();
    // Runs one write without the lock, marked busy meanwhile.
    void runLocked(const Write& write, std::unique_lock<std::mutex>& lock);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<Write> next_;
    bool busy_ = false;
    int waiting_ = 0; // writes asked during the stop that wait for the running one
    bool stopping_ = false;
    bool stopped_ = false;
    std::thread::id stopper_; // the thread that stopped, once stopped
    bool lastOk_ = true;
    std::thread thread_;
    std::thread::id threadId_;
    TestHook testHook_;
};

} // namespace platform
