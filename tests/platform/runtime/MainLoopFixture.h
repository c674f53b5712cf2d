#pragma once
// A test on the manual clock with the main run loop bound to the test's thread and emptied
// before and after, so that no timer or posted closure leaks from one test into the next.

#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"

#include <gtest/gtest.h>

namespace platform::test {

struct MainLoopFixture : ::testing::Test {
    ScopedManualClock clock;
    void SetUp() override {
        RunLoop::main().reset();
        RunLoop::main().bindToCurrentThread();
    }
    void TearDown() override { RunLoop::main().reset(); }
};

} // namespace platform::test
