// The run loop's timers and waits as the real clock and other threads use them: the
// schedule a late repeating timer keeps, the answers of runUntil and of a wait from
// another thread, and what an invalidated timer leaves behind.

#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"
#include "tests/platform/runtime/MainLoopFixture.h"
#include "tests/support/StateWaits.h"

#include <atomic>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

using namespace platform;

using ScheduleFixture = platform::test::MainLoopFixture;
using RealClockSchedule = platform::test::RealClockLoopFixture;

// Late by less than one interval (a busy loop): the next firing stays on the timer's own
// grid instead of drifting by the lateness.
TEST_F(ScheduleFixture, ARepeatingTimerLateByLessThanAnIntervalKeepsItsSchedule) {
    int fired = 0;
    const double start = clock.clock().now();
    auto timer = Timer::scheduled(1.0, true, [&] { ++fired; });
    clock.clock().set(start + 1.4);
    RunLoop::main().runPending();
    EXPECT_EQ(fired, 1);
    EXPECT_DOUBLE_EQ(timer->fireDate(), start + 2.0);
    clock.clock().set(start + 2.9);
    RunLoop::main().runPending();
    EXPECT_EQ(fired, 2);
    EXPECT_DOUBLE_EQ(timer->fireDate(), start + 3.0);
    timer->invalidate();
}

// Late by more than one interval: one firing, and the next one interval after now.
TEST_F(ScheduleFixture, ARepeatingTimerLateByMoreThanAnIntervalFiresOnceAndCountsFromNow) {
    int fired = 0;
    const double start = clock.clock().now();
    auto timer = Timer::scheduled(0.5, true, [&] { ++fired; });
    clock.clock().set(start + 1.75);
    RunLoop::main().runPending();
    EXPECT_EQ(fired, 1);
    EXPECT_DOUBLE_EQ(timer->fireDate(), start + 2.25);
    timer->invalidate();
}

// The manual clock goes only forward: a time set earlier than now leaves it, and what is
// scheduled after counts from it.
TEST_F(ScheduleFixture, TheManualClockNeverGoesBack) {
    const double start = clock.clock().now();
    clock.clock().set(start + 2.0);
    clock.clock().set(start + 0.5);
    EXPECT_DOUBLE_EQ(Clock::time(), start + 2.0);
    performAfterDelay(1.0, [] {});
    EXPECT_DOUBLE_EQ(RunLoop::main().nextTimerDate(), start + 3.0);
}

// A repeating timer re-armed for the same moment as a timer scheduled after its first
// arming fires after that timer: re-arming counts as scheduling anew.
TEST_F(ScheduleFixture, ARearmedTimerFiresAfterATimerScheduledBeforeItWasRearmed) {
    std::vector<std::string> fired;
    auto repeating = Timer::scheduled(1.0, true, [&] { fired.push_back("repeating"); });
    performAfterDelay(2.0, [&] { fired.push_back("once"); });
    RunLoop::main().advance(2.0);
    EXPECT_EQ(fired, (std::vector<std::string>{"repeating", "once", "repeating"}));
    repeating->invalidate();
}

// One round of the loop runs what was posted and then every timer that is due, each once.
TEST_F(ScheduleFixture, OneRoundRunsThePostedWorkAndEveryDueTimer) {
    std::vector<std::string> ran;
    runOnMainThread([&] { ran.push_back("posted"); });
    runOnMainThread([&] { ran.push_back("posted again"); });
    performAfterDelay(1.0, [&] { ran.push_back("first"); });
    performAfterDelay(1.0, [&] { ran.push_back("second"); });
    performAfterDelay(1.5, [&] { ran.push_back("third"); });
    clock.clock().set(clock.clock().now() + 2.0);
    EXPECT_EQ(RunLoop::main().runPending(), 5);
    EXPECT_EQ(ran, (std::vector<std::string>{"posted", "posted again", "first", "second", "third"}));
}

// What a timer due exactly at the end of an advance posts still runs within that advance.
TEST_F(ScheduleFixture, WorkPostedByATimerDueAtTheEndOfAnAdvanceRunsWithinIt) {
    bool ran = false;
    performAfterDelay(1.0, [&] { runOnMainThread([&] { ran = true; }); });
    RunLoop::main().advance(1.0);
    EXPECT_TRUE(ran);
}

TEST_F(ScheduleFixture, RunOnceReportsHowMuchRan) {
    runOnMainThread([] {});
    runOnMainThread([] {});
    EXPECT_EQ(RunLoop::main().runOnce(0.0), 2);
    EXPECT_EQ(RunLoop::main().runOnce(0.0), 0);
}

TEST_F(ScheduleFixture, AnInvalidatedTimerLeavesNoWakeUp) {
    auto first = performAfterDelay(2.0, [] {});
    auto second = performAfterDelay(5.0, [] {});
    const double start = clock.clock().now();
    EXPECT_DOUBLE_EQ(RunLoop::main().nextTimerDate(), start + 2.0);
    first->invalidate();
    EXPECT_DOUBLE_EQ(RunLoop::main().nextTimerDate(), start + 5.0);
    second->invalidate();
    EXPECT_LT(RunLoop::main().nextTimerDate(), 0);
}

TEST_F(ScheduleFixture, AOneShotTimerIsGoneAfterItFired) {
    int fired = 0;
    auto timer = performAfterDelay(1.0, [&] { ++fired; });
    RunLoop::main().advance(1.0);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(timer->isValid());
    EXPECT_LT(RunLoop::main().nextTimerDate(), 0);
    RunLoop::main().advance(10.0);
    EXPECT_EQ(fired, 1);
}

// With no time left, runUntil still asks the condition once more and reports what it says.
TEST_F(ScheduleFixture, RunUntilReportsWhetherTheConditionHeldAndRunsWhatIsPostedWhileItWaits) {
    int asked = 0;
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return ++asked >= 2; }, 0.0));
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(RunLoop::main().runUntil([&] { return ++asked < 0; }, 0.0)) << "a condition that never held";
    bool ran = false;
    runOnMainThread([&] { ran = true; });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return ran; }, 30));
}

TEST_F(ScheduleFixture, AWaitFromAnotherThreadReportsThatTheTaskRan) {
    std::atomic<int> answer{-1};
    int value = 0;
    std::thread worker([&] { answer = runOnMainThreadAndWait([&] { value = 7; }) ? 1 : 0; });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return answer.load() >= 0; }, kavo::test::kStateWait));
    worker.join();
    EXPECT_EQ(answer.load(), 1);
    EXPECT_EQ(value, 7);
}

// On the real clock a timer's wait ends the loop's sleep when it falls due.
TEST_F(RealClockSchedule, ARepeatingTimerFiresAgainOnTheRealClock) {
    int fired = 0;
    auto timer = Timer::scheduled(0.01, true, [&] { ++fired; });
    EXPECT_TRUE(RunLoop::main().runUntil([&] { return fired >= 3; }, kavo::test::kStateWait));
    timer->invalidate();
}

// A stopped loop returns from run(); stop() from another thread wakes it.
TEST_F(RealClockSchedule, StopFromAnotherThreadEndsRun) {
    std::atomic<bool> running{false};
    runOnMainThread([&] { running = true; });
    std::thread stopper([&] {
        while (!running.load())
            std::this_thread::yield();
        RunLoop::main().stop();
    });
    RunLoop::main().run();
    stopper.join();
    EXPECT_TRUE(running.load());
}
