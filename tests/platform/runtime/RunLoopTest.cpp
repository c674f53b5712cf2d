#include "platform/runtime/RunLoop.h"

#include "platform/runtime/Clock.h"
#include "tests/platform/runtime/MainLoopFixture.h"
#include "tests/platform/runtime/Marks.h"
#include "tests/support/StateWaits.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

using namespace platform;

using platform::test::MainLoopFixture;
using platform::test::Marks;
using RunLoopIdle = platform::test::RealClockLoopFixture;

TEST_F(MainLoopFixture, PostedClosuresRunInTheOrderTheyWerePosted) {
    std::vector<int> seen;
    for (int i = 0; i < 5; ++i)
        runOnMainThread([&, i] { seen.push_back(i); });
    EXPECT_TRUE(seen.empty()); // never inline
    RunLoop::main().runPending();
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
}

// A burst posted at once (replies read together) can be looked at between its closures;
// timers that fall due still fire at each step.
TEST_F(MainLoopFixture, RunNextRunsOneClosureOfABurstAtATimeAndTheDueTimers) {
    std::vector<int> seen;
    for (int i = 0; i < 3; ++i)
        runOnMainThread([&, i] { seen.push_back(i); });
    performAfterDelay(0, [&] { seen.push_back(9); });
    EXPECT_EQ(RunLoop::main().runNext(0), 2);
    EXPECT_EQ(seen, (std::vector<int>{0, 9}));
    EXPECT_EQ(RunLoop::main().runNext(0), 1);
    EXPECT_EQ(seen, (std::vector<int>{0, 9, 1}));
    EXPECT_EQ(RunLoop::main().runNext(0), 1);
    EXPECT_EQ(RunLoop::main().runNext(0), 0);
    EXPECT_EQ(seen, (std::vector<int>{0, 9, 1, 2}));
}

TEST_F(MainLoopFixture, ClosuresFromOtherThreadsKeepEachThreadsOrder) {
    std::vector<int> seen;
    std::thread a([&] {
        for (int i = 0; i < 100; ++i)
            runOnMainThread([&, i] { seen.push_back(i); });
    });
    a.join();
    RunLoop::main().runPending();
    ASSERT_EQ(seen.size(), 100u);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(seen[i], i);
}

TEST_F(MainLoopFixture, TimersFireAtTheirTimeInOrderOnTheManualClock) {
    std::vector<std::pair<int, double>> fired;
    double start = Clock::time();
    performAfterDelay(2.0, [&] { fired.push_back({2, Clock::time() - start}); });
    performAfterDelay(0.5, [&] { fired.push_back({1, Clock::time() - start}); });
    auto repeating = Timer::scheduled(1.0, true, [&] { fired.push_back({0, Clock::time() - start}); });
    RunLoop::main().advance(0.4);
    EXPECT_TRUE(fired.empty());
    RunLoop::main().advance(2.0);
    ASSERT_EQ(fired.size(), 4u);
    EXPECT_EQ(fired[0], std::make_pair(1, 0.5));
    EXPECT_EQ(fired[1], std::make_pair(0, 1.0));
    // Both due at 2 s: the one-shot was armed before the repeating timer re-armed itself.
    EXPECT_EQ(fired[2], std::make_pair(2, 2.0));
    EXPECT_EQ(fired[3], std::make_pair(0, 2.0));
    repeating->invalidate();
    RunLoop::main().advance(5.0);
    EXPECT_EQ(fired.size(), 4u);
}

TEST_F(MainLoopFixture, AnInvalidatedTimerNeverFiresAndReleasesWhatItHeld) {
    auto held = std::make_shared<int>(7);
    std::weak_ptr<int> weak = held;
    bool fired = false;
    auto timer = performAfterDelay(1.0, [&fired, held] { fired = true; });
    held.reset();
    timer->invalidate();
    EXPECT_TRUE(weak.expired());
    RunLoop::main().advance(2.0);
    EXPECT_FALSE(fired);
    EXPECT_FALSE(timer->isValid());
}

TEST_F(MainLoopFixture, ATimerScheduledByATimerFiresWithinTheSameAdvance) {
    std::vector<double> times;
    double start = Clock::time();
    performAfterDelay(1.0, [&] {
        times.push_back(Clock::time() - start);
        performAfterDelay(1.5, [&] { times.push_back(Clock::time() - start); });
    });
    RunLoop::main().advance(3.0);
    EXPECT_EQ(times, (std::vector<double>{1.0, 2.5}));
}

TEST_F(MainLoopFixture, RunAndWaitRunsInlineOnTheMainThreadAndBlocksAnotherUntilTheLoopRunsIt) {
    bool ran = false;
    EXPECT_TRUE(runOnMainThreadAndWait([&] { ran = true; }));
    EXPECT_TRUE(ran);
    std::atomic<bool> returned{false};
    int value = 0;
    std::thread worker([&] {
        runOnMainThreadAndWait([&] { value = 42; });
        returned = true;
    });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return returned.load(); }, 30));
    worker.join();
    EXPECT_EQ(value, 42);
}

TEST_F(MainLoopFixture, ResettingTheLoopReleasesAThreadWaitingForIt) {
    std::atomic<int> result{-1};
    std::thread worker([&] { result = runOnMainThreadAndWait([] {}) ? 1 : 0; });
    while (!RunLoop::main().hasPendingTasks())
        std::this_thread::yield();
    RunLoop::main().reset();
    worker.join();
    EXPECT_EQ(result.load(), 0);
}

// Over the 0.3 s the loop is given, it sleeps (its test moment says so) and spends
// next to no processor time. The 0.3 s are a negative check's chance: a loop that spins
// would spend them.
TEST_F(RunLoopIdle, AnIdleLoopSleepsInsteadOfSpinning) {
    Marks marks;
    RunLoop::main().setTestHook([&](RunLoop::TestMoment moment) {
        if (moment == RunLoop::TestMoment::Sleeps) marks.mark("sleeps");
    });
    std::clock_t cpuBefore = std::clock();
    RunLoop::main().runOnce(0.3);
    double cpu = double(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    RunLoop::main().setTestHook(nullptr);
    EXPECT_TRUE(marks.has("sleeps"));
    EXPECT_LT(cpu, 0.05);
}

// The post comes once the loop sleeps: only the post's own wake-up ends the wait. A loop
// that the post does not wake sleeps on for its hour; a stop thirty seconds on ends it
// then (a bound for the wake-up that never comes).
TEST_F(RunLoopIdle, APostFromAnotherThreadWakesASleepingLoop) {
    Marks marks;
    RunLoop::main().setTestHook([&](RunLoop::TestMoment moment) {
        if (moment == RunLoop::TestMoment::Sleeps) marks.mark("sleeps");
    });
    bool ran = false;
    std::atomic<bool> stopped{false};
    std::thread poster([&] {
        if (!marks.waitFor("sleeps")) return;
        runOnMainThread([&] { ran = true; });
        if (marks.waitFor("woke")) return;
        stopped = true;
        RunLoop::main().stop();
    });
    RunLoop::main().runOnce(3600.0);
    marks.mark("woke");
    poster.join();
    RunLoop::main().setTestHook(nullptr);
    EXPECT_TRUE(ran);
    EXPECT_FALSE(stopped) << "only the stop ended the wait";
}

// However long a wait the loop is given, a real timer ends it when due; only a rescue
// posted kStateWait seconds on would end it otherwise.
TEST_F(RunLoopIdle, RealTimersEndTheLoopsWaitWhenDue) {
    bool fired = false, rescued = false, finished = false;
    performAfterDelay(0.05, [&] { fired = true; });
    std::mutex mutex;
    std::condition_variable done;
    std::thread rescuer([&] {
        std::unique_lock<std::mutex> lock(mutex);
        if (!done.wait_for(lock, std::chrono::duration<double>(kavo::test::kStateWait), [&] { return finished; }))
            runOnMainThread([&] { rescued = true; });
    });
    while (!fired && !rescued)
        RunLoop::main().runOnce(3600.0);
    {
        std::lock_guard<std::mutex> lock(mutex);
        finished = true;
    }
    done.notify_one();
    rescuer.join();
    EXPECT_TRUE(fired);
    EXPECT_FALSE(rescued);
}

// A loop that stalled (the clock jumped past several ticks without the loop running)
// fires a repeating timer once, then counts the next tick from now.
TEST_F(MainLoopFixture, ARepeatingTimerThatFellBehindFiresOnceAndIsRescheduledFromNow) {
    int fired = 0;
    const double start = clock.clock().now();
    auto timer = Timer::scheduled(1.0, true, [&] { ++fired; });
    clock.clock().set(start + 3.5);
    RunLoop::main().runPending();
    EXPECT_EQ(fired, 1);
    EXPECT_DOUBLE_EQ(timer->fireDate(), start + 4.5);
    RunLoop::main().runPending();
    EXPECT_EQ(fired, 1);
    RunLoop::main().advance(1.0);
    EXPECT_EQ(fired, 2);
    timer->invalidate();
}

// A repeating timer asked for with no interval waits a millisecond between firings
// instead of firing without end at one instant.
TEST_F(MainLoopFixture, ARepeatingTimerWithoutAnIntervalFiresOncePerRound) {
    int fired = 0;
    auto timer = RunLoop::main().addTimer(0, 0, true, [&] { ++fired; });
    EXPECT_DOUBLE_EQ(timer->interval(), 0.001);
    RunLoop::main().runPending();
    RunLoop::main().runPending();
    EXPECT_EQ(fired, 1);
    RunLoop::main().advance(0.0015);
    EXPECT_EQ(fired, 2);
    timer->invalidate();
}

TEST_F(MainLoopFixture, ResetDropsEveryPostedClosureAndTimer) {
    int ran = 0;
    runOnMainThread([&] { ++ran; });
    auto once = performAfterDelay(1.0, [&] { ++ran; });
    auto repeating = Timer::scheduled(0.5, true, [&] { ++ran; });
    RunLoop::main().reset();
    EXPECT_FALSE(RunLoop::main().hasPendingTasks());
    EXPECT_LT(RunLoop::main().nextTimerDate(), 0);
    EXPECT_FALSE(once->isValid());
    EXPECT_FALSE(repeating->isValid());
    RunLoop::main().advance(5.0);
    EXPECT_EQ(ran, 0);
    // The loop still works afterwards.
    runOnMainThread([&] { ++ran; });
    RunLoop::main().runPending();
    EXPECT_EQ(ran, 1);
}
