#pragma once
// A test with the main run loop bound to the test's thread and emptied before and after, so
// that no timer or posted closure leaks from one test into the next: on the real clock, or
// on the manual clock (MainLoopFixture).

#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"

#include <gtest/gtest.h>

namespace platform::test {

struct RealClockLoopFixture : ::testing::Test {
    void SetUp() override {
        RunLoop::main().reset();
        RunLoop::main().bindToCurrentThread();
    }
    void TearDown() override { RunLoop::main().reset(); }
};

struct MainLoopFixture : RealClockLoopFixture {
    ScopedManualClock clock;
};

} // namespace platform::test
