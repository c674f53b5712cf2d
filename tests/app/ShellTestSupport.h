#pragma once

#include "app/KavoOnlineAppDelegate.h"
#include "app/KavoViewController.h"
#include "platform/runtime/Clock.h"
#include "tests/app/AppTestSupport.h"

#include <gtest/gtest.h>
#include <memory>

namespace kavo::test {

// A table screen that only records that it was asked to leave.
class RecordingTable : public KavoViewController {
public:
    bool isTableScreen() const override { return true; }
    void doLeaveBoard() override { ++leaves; }
    int leaves = 0;
};

// The client's shell launched on the manual clock with a plain first screen (the log-in
// screen is not needed here), in a fresh data folder, on the phone.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Launches the application; `root` becomes the bottom of the navigation stack.
    void launch(platform::ui::ViewControllerPtr root = nullptr);
    // Pushes without animation and runs what that posted.
    void push(const platform::ui::ViewControllerPtr& screen);
    // Launches the application and pushes `screen` (a plain screen unless given) on top.
    template <class Screen = KavoViewController>
    std::shared_ptr<Screen> launchAndPush(std::shared_ptr<Screen> screen = std::make_shared<Screen>()) {
        launch();
        push(screen);
        return screen;
    }
    platform::ui::ViewControllerPtr top() const;
    static KavoOnlineAppDelegate& delegate() { return KavoOnlineAppDelegate::getInstance(); }
    // Moves the manual clock, firing what falls due.
    static void advance(double seconds);
    // Forgets the launched windows and screens, so that launch() starts the shell again.
    static void resetForRelaunch();

    std::unique_ptr<AppEnvironment> environment_;
    std::unique_ptr<platform::ScopedManualClock> clock_;
};

} // namespace kavo::test
