#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {

class RunLoop;

// A one-shot or repeating timer on the main run loop. Invalidating it (from the
// main thread) guarantees that its action does not run again.
class Timer {
public:
    // Timers belong to the main thread: invalidate them there.
    void invalidate();
    bool isValid() const { return valid_; }
    double fireDate() const { return fireDate_; }
    double interval() const { return interval_; }
    bool repeats() const { return repeats_; }

    // Schedules on the main run loop: fires after `interval` seconds, then every
    // `interval` seconds when `repeats`.
    static std::shared_ptr<Timer> scheduled(double interval, bool repeats, std::function<void()> action);

private:
    friend class RunLoop;
    std::function<void()> action_;
    double fireDate_ = 0;
    double interval_ = 0;
    bool repeats_ = false;
    bool valid_ = true;
    uint64_t order_ = 0; // ties on fireDate fire in scheduling order
};

// The main thread's queue of posted closures and its timers. Closures run in the
// order they were posted. An idle loop sleeps until the next closure or timer:
// it never spins.
class RunLoop {
public:
    static RunLoop& main();

    // Marks the calling thread as the one that runs this loop (the main thread).
    void bindToCurrentThread();
    bool isLoopThread() const;

    // Safe from any thread.
    void post(std::function<void()> task);

    std::shared_ptr<Timer> addTimer(double delay, double interval, bool repeats, std::function<void()> action);

    // Runs posted closures and due timers once; returns how many ran.
    int runPending();
    // Waits at most `maxWait` seconds of real time for something to do, then runs it.
    // With the manual clock only posted closures wake it; timers wait for advance().
    int runOnce(double maxWait);
    // The same, but runs at most one posted closure, then the timers due: whoever calls it
    // between closures sees the state each one leaves, even when a burst of them was
    // posted at once (several replies read together after the process was held up).
    int runNext(double maxWait);
    // Runs until stop() is called.
    void run();
    void stop();

    // Manual clock only: moves the clock forward by `seconds`, firing every timer that
    // falls due on the way at its own time, in order, and running what they post.
    void advance(double seconds);

    // Runs the loop until `done` returns true or `timeout` seconds of real time pass.
    // For tests that wait for other threads. Returns done().
    [[nodiscard]] bool runUntil(const std::function<bool()>& done, double timeout);

    bool hasPendingTasks() const;
    // Fire date of the earliest valid timer, or a negative number when there is none.
    double nextTimerDate() const;

    // Called (from the posting thread) whenever a closure is posted, so a window
    // system's event wait can be woken. Set before other threads start posting.
    void setWaker(std::function<void()> waker);

    // Drops every posted closure and timer, and the tests' hook (between tests).
    void reset();

    // The tests' hook: moments that otherwise pass in an instant, where a test holds or
    // signals its threads to make an order certain. Null but in tests.
    enum class TestMoment {
        Sleeps,     // the loop's thread begins to sleep for want of work; the loop's lock is
                    // held (the hook must not call the loop), so a post made once the hook
                    // returned finds the loop asleep
        AwaitsMain, // a thread posted a closure with runOnMainThreadAndWait and now waits
    };
    void setTestHook(std::function<void(TestMoment)> hook);

private:
    friend bool runOnMainThreadAndWait(std::function<void()> task);
    // Calls the tests' hook, if any, without the lock.
    void reachTestMoment(TestMoment moment) const;

    RunLoop() = default;
    bool fireOneDueTimer(double now);
    // Runs the posted closures (only the first with `firstOnly`), then each due timer once.
    int runClosuresAndDueTimers(bool firstOnly);
    // Sleeps until a closure is posted, the next timer is due (on the real clock) or
    // `maxWait` seconds pass.
    void waitForWork(double maxWait);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> tasks_;
    std::vector<std::shared_ptr<Timer>> timers_;
    std::function<void()> waker_;
    std::thread::id thread_;
    uint64_t nextOrder_ = 0;
    bool stopped_ = false;
    std::function<void(TestMoment)> testHook_;
};

// The main thread is the thread bound to RunLoop::main().
bool isMainThread();
// Posts to the main run loop; never runs inline.
void runOnMainThread(std::function<void()> task);
// Runs the task on the main thread and waits for it. Runs it at once when called on
// the main thread, so it cannot deadlock there. Returns false when the main loop is
// being stopped and the task was not run.
bool runOnMainThreadAndWait(std::function<void()> task);
// A one-shot timer on the main run loop.
std::shared_ptr<Timer> performAfterDelay(double seconds, std::function<void()> task);

} // namespace platform
