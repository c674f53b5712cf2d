#pragma once

#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Image.h"

#include <gtest/gtest.h>

// A test of the view layer: the main run loop bound to the test thread, the manual
// clock, and no windows, touches or first responder left from another test.
class CoreUiTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::RunLoop::main().bindToCurrentThread();
        platform::RunLoop::main().reset();
        platform::ui::Application::shared().reset();
    }
    void TearDown() override {
        platform::ui::Application::shared().reset();
        platform::ui::Image::clearCache();
        platform::RunLoop::main().reset();
    }
    void advance(double seconds) { platform::RunLoop::main().advance(seconds); }
    void runPending() { platform::RunLoop::main().runPending(); }

    platform::ScopedManualClock clock_;
};
