#include "platform/runtime/RunLoop.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>

#include "platform/runtime/Clock.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/MainThreadCheck.h"

namespace platform {

namespace {
// Until a thread is bound, no thread is the main one to check against.
std::atomic<bool> loopBound{false};
} // namespace

void Timer::invalidate() {
    // The loop drops invalid timers the next time it looks at them; the action is
    // released at once so that whatever it captured goes away now.
    valid_ = false;
    action_ = nullptr;
}

std::shared_ptr<Timer> Timer::scheduled(double interval, bool repeats, std::function<void()> action) {
    return RunLoop::main().addTimer(interval, interval, repeats, std::move(action));
}

RunLoop& RunLoop::main() {
    static RunLoop* loop = new RunLoop(); // lives for the process; threads may post late
    return *loop;
}

void RunLoop::bindToCurrentThread() {
    std::lock_guard<std::mutex> lock(mutex_);
    thread_ = std::this_thread::get_id();
    loopBound = true;
}

bool RunLoop::isLoopThread() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return thread_ == std::this_thread::get_id();
}

void RunLoop::post(std::function<void()> task) {
    std::function<void()> waker;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(std::move(task));
        waker = waker_;
    }
    wake_.notify_all();
    if (waker) waker();
}

std::shared_ptr<Timer> RunLoop::addTimer(double delay, double interval, bool repeats, std::function<void()> action) {
    auto timer = std::make_shared<Timer>();
    timer->action_ = std::move(action);
    timer->fireDate_ = Clock::time() + std::max(0.0, delay);
    // A repeating timer needs a positive interval, or it would fire forever at one instant.
    timer->interval_ = repeats ? std::max(interval, 0.001) : interval;
    timer->repeats_ = repeats;
    std::function<void()> waker;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        timer->order_ = nextOrder_++;
        timers_.push_back(timer);
        waker = waker_;
    }
    wake_.notify_all();
    if (waker) waker();
    return timer;
}

bool RunLoop::fireOneDueTimer(double now) {
    std::shared_ptr<Timer> due;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [](auto& t) { return !t->valid_; }),
                      timers_.end());
        for (auto& t : timers_) {
            if (t->fireDate_ <= now && (!due || t->fireDate_ < due->fireDate_ ||
                                        (t->fireDate_ == due->fireDate_ && t->order_ < due->order_)))
                due = t;
        }
        if (!due) return false;
        if (due->repeats_) {
            due->fireDate_ += due->interval_;
            // A repeating timer that fell far behind (a stalled loop) skips the missed
            // firings instead of running them all at once.
            if (due->fireDate_ <= now) due->fireDate_ = now + due->interval_;
            due->order_ = nextOrder_++;
        } else {
            due->valid_ = false;
        }
    }
    auto action = due->action_;
    if (!due->repeats_) due->action_ = nullptr;
    if (action) action();
    return true;
}

int RunLoop::runPending() {
    return runClosuresAndDueTimers(false);
}

int RunLoop::runClosuresAndDueTimers(bool firstOnly) {
    int count = 0;
    // Closures posted while these run wait for the next round, so a closure that
    // posts itself cannot starve the timers.
    std::deque<std::function<void()>> batch;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!firstOnly) {
            batch.swap(tasks_);
        } else if (!tasks_.empty()) {
            batch.push_back(std::move(tasks_.front()));
            tasks_.pop_front();
        }
    }
    for (auto& task : batch) {
        if (task) task();
        ++count;
    }
    double now = Clock::time();
    // Fire each timer that is due now once; repeating timers re-armed in the past
    // (interval shorter than the work) wait for the next round.
    while (fireOneDueTimer(now)) {
        ++count;
        if (count > 100000) break; // safety net against a pathological timer storm
    }
    return count;
}

bool RunLoop::hasPendingTasks() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return !tasks_.empty();
}

double RunLoop::nextTimerDate() const {
    std::lock_guard<std::mutex> lock(mutex_);
    double next = -1;
    for (auto& t : timers_)
        if (t->valid_ && (next < 0 || t->fireDate_ < next)) next = t->fireDate_;
    return next;
}

int RunLoop::runOnce(double maxWait) {
    int ran = runPending();
    if (ran > 0) return ran;
    waitForWork(maxWait);
    return runPending();
}

int RunLoop::runNext(double maxWait) {
    int ran = runClosuresAndDueTimers(true);
    if (ran > 0) return ran;
    waitForWork(maxWait);
    return runClosuresAndDueTimers(true);
}

void RunLoop::waitForWork(double maxWait) {
    auto clock = Clock::current();
    double wait = std::max(0.0, maxWait);
    double next = nextTimerDate();
    if (!clock->isManual() && next >= 0) wait = std::min(wait, std::max(0.0, next - clock->now()));
    std::unique_lock<std::mutex> lock(mutex_);
    if (tasks_.empty() && !stopped_ && wait > 0) {
        if (testHook_) testHook_(TestMoment::Sleeps);
        wake_.wait_for(lock, std::chrono::duration<double>(wait), [this] { return !tasks_.empty() || stopped_; });
    }
}

void RunLoop::run() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = false;
    }
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopped_) break;
        }
        runOnce(3600.0);
    }
}

void RunLoop::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
    }
    wake_.notify_all();
}

void RunLoop::advance(double seconds) {
    auto clock = std::dynamic_pointer_cast<ManualClock>(Clock::current());
    if (!clock) {
        log("RunLoop::advance needs the manual clock");
        return;
    }
    double target = clock->now() + std::max(0.0, seconds);
    runPending();
    for (;;) {
        double next = nextTimerDate();
        if (next < 0 || next > target) break;
        clock->set(next);
        runPending();
    }
    clock->set(target);
    runPending();
}

bool RunLoop::runUntil(const std::function<bool()>& done, double timeout) {
    using namespace std::chrono;
    auto deadline = steady_clock::now() + duration_cast<steady_clock::duration>(duration<double>(timeout));
    while (!done()) {
        auto left = duration<double>(deadline - steady_clock::now()).count();
        if (left <= 0) return done();
        runOnce(std::min(left, 0.05));
    }
    return true;
}

void RunLoop::setWaker(std::function<void()> waker) {
    std::lock_guard<std::mutex> lock(mutex_);
    waker_ = std::move(waker);
}

void RunLoop::setTestHook(std::function<void(TestMoment)> hook) {
    std::lock_guard<std::mutex> lock(mutex_);
    testHook_ = std::move(hook);
}

void RunLoop::reachTestMoment(TestMoment moment) const {
    std::function<void(TestMoment)> hook;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        hook = testHook_;
    }
    if (hook) hook(moment);
}

void RunLoop::reset() {
    std::deque<std::function<void()>> tasks;
    std::vector<std::shared_ptr<Timer>> timers;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        tasks.swap(tasks_);
        timers.swap(timers_);
        stopped_ = false;
        testHook_ = nullptr;
    }
    for (auto& t : timers)
        t->invalidate();
    // `tasks` is destroyed here, outside the lock: a waiting runOnMainThreadAndWait
    // caller learns that its task will never run.
}

bool isMainThread() {
    return RunLoop::main().isLoopThread();
}

void assertMainThread(const char* where) {
    if (!loopBound || isMainThread()) return;
    log(std::string("main-thread work off the main thread in ") + where);
    std::abort();
}

void runOnMainThread(std::function<void()> task) {
    RunLoop::main().post(std::move(task));
}

namespace {
// Shared between a waiting caller and its posted closure. If the closure is
// destroyed without running (the loop was reset), the caller is released.
struct WaitState {
    std::mutex mutex;
    std::condition_variable cv;
    bool finished = false;
    bool ran = false;
    void finish(bool didRun) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (finished) return;
            finished = true;
            ran = didRun;
        }
        cv.notify_all();
    }
};
struct WaitGuard {
    std::shared_ptr<WaitState> state;
    ~WaitGuard() { state->finish(false); }
};
} // namespace

bool runOnMainThreadAndWait(std::function<void()> task) {
    if (isMainThread()) {
        task();
        return true;
    }
    auto state = std::make_shared<WaitState>();
    // Built in place: a temporary WaitGuard would release the caller when it is destroyed.
    auto guard = std::make_shared<WaitGuard>();
    guard->state = state;
    RunLoop::main().post([guard, task = std::move(task)] {
        task();
        guard->state->finish(true);
    });
    guard.reset();
    RunLoop::main().reachTestMoment(RunLoop::TestMoment::AwaitsMain);
    std::unique_lock<std::mutex> lock(state->mutex);
    state->cv.wait(lock, [&] { return state->finished; });
    return state->ran;
}

std::shared_ptr<Timer> performAfterDelay(double seconds, std::function<void()> task) {
    return RunLoop::main().addTimer(seconds, 0, false, std::move(task));
}

} // namespace platform
