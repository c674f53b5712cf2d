#include "app/UIController.h"
#include "app/Util.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "tests/app/AppTestSupport.h"

#include <gtest/gtest.h>

namespace kavo {
namespace {

namespace ui = platform::ui;

size_t spinnersOn(const ui::ViewPtr& view) {
    size_t count = 0;
    for (const auto& subview : view->subviews())
        if (std::dynamic_pointer_cast<ui::ActivityIndicatorView>(subview)) ++count;
    return count;
}

class LoadingOverlay : public ::testing::Test {
protected:
    test::AppEnvironment env_;
    platform::ScopedManualClock clock_;
    ui::ViewPtr screen_ = ui::View::make({0, 0, 480, 320});
};

TEST_F(LoadingOverlay, ASpinnerCoversTheMiddleOfTheScreenAndBlocksItsTouches) {
    Util::showLoadingOnView(screen_);
    ASSERT_EQ(spinnersOn(screen_), 1u);
    auto spinner = std::dynamic_pointer_cast<ui::ActivityIndicatorView>(screen_->subviews().back());
    EXPECT_EQ(spinner->frame(), ui::Rect(220, 140, 40, 40));
    EXPECT_TRUE(spinner->isAnimating());
    EXPECT_FALSE(screen_->isUserInteractionEnabled());

    Util::hideLoadingOnView(screen_);
    EXPECT_EQ(spinnersOn(screen_), 0u);
    EXPECT_TRUE(screen_->isUserInteractionEnabled());
}

TEST_F(LoadingOverlay, HidingTakesAwayEverySpinnerButLeavesOtherViews) {
    screen_->addSubview(ui::View::make({0, 0, 10, 10}));
    Util::showLoadingOnView(screen_);
    Util::showLoadingOnView(screen_);
    Util::hideLoadingOnView(screen_);
    EXPECT_EQ(spinnersOn(screen_), 0u);
    EXPECT_EQ(screen_->subviews().size(), 1u);
}

TEST_F(LoadingOverlay, AScreenWaitingForTheServerGivesUpAfterItsTime) {
    Util::showLoadingOnView(screen_);
    Util::hideLoadingOnViewAfterDelay(screen_, 5.0);
    platform::RunLoop::main().advance(4.9);
    EXPECT_EQ(spinnersOn(screen_), 1u);
    EXPECT_EQ(UIController::currentDialog(), nullptr);
    platform::RunLoop::main().advance(0.2);
    EXPECT_EQ(spinnersOn(screen_), 0u);
    EXPECT_TRUE(screen_->isUserInteractionEnabled());
    EXPECT_TRUE(UIController::currentDialog()) << "the player is told the server did not answer";
}

TEST_F(LoadingOverlay, AnOldTimerNeverHidesANewerSpinner) {
    // A game choice waits 5 s; the reply comes after 1 s; at 3 s the player joins a
    // board, which waits 2 s. The first timer must not end the second wait at 5 s.
    Util::showLoadingOnView(screen_);
    Util::hideLoadingOnViewAfterDelay(screen_, 5.0);
    platform::RunLoop::main().advance(1.0);
    Util::hideLoadingOnView(screen_);
    platform::RunLoop::main().advance(2.0);
    Util::showLoadingOnView(screen_);
    platform::RunLoop::main().advance(2.5); // t = 5.5: past the first timer
    EXPECT_EQ(spinnersOn(screen_), 1u);

    Util::hideLoadingOnViewAfterDelay(screen_, 2.0);
    Util::hideLoadingOnViewAfterDelay(screen_, 3.0); // replaces the 2 s timer
    platform::RunLoop::main().advance(2.5);
    EXPECT_EQ(spinnersOn(screen_), 1u);
    platform::RunLoop::main().advance(1.0);
    EXPECT_EQ(spinnersOn(screen_), 0u);
}

TEST_F(LoadingOverlay, AScreenClosedWhileWaitingIsLeftAlone) {
    auto next = ui::View::make({0, 0, 480, 320});
    Util::showLoadingOnView(screen_);
    Util::hideLoadingOnViewAfterDelay(screen_, 1.0);
    screen_.reset();
    // The screen that came next waits for its own answer; the closed one's timer is not its.
    Util::showLoadingOnView(next);
    platform::RunLoop::main().advance(2.0);
    EXPECT_EQ(spinnersOn(next), 1u);
    EXPECT_FALSE(next->isUserInteractionEnabled());
}

} // namespace
} // namespace kavo
