#include "app/widgets/CustomUIMessageBox.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"
#include "tests/app/AppTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

using platform::RunLoop;
using platform::ui::Rect;
using platform::ui::View;

// A default block animation lasts 0.2 s.
constexpr double kSlide = 0.2;

class WidgetMessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        screen_ = View::make(Rect(0, 0, 480, 320));
        box_ = CustomUIMessageBox::make();
        box_->setActionSheetView(View::make(Rect(40, 0, 300, 200)));
        screen_->addSubview(box_->view());
    }

    AppEnvironment environment_;
    platform::ScopedManualClock clock_;
    platform::ui::ViewPtr screen_;
    std::shared_ptr<CustomUIMessageBox> box_;
};

TEST_F(WidgetMessageBoxTest, APanelSlidesFromNearTheTopToTheMiddle) {
    box_->viewWillAppear(false);
    EXPECT_EQ(box_->view()->frame(), Rect(0, 0, 480, 320));
    auto panel = box_->actionSheetView();
    EXPECT_EQ(panel->superview(), box_->view().get());
    // 200 high: at rest at (320 - 200) / 2, having started at y 30 and x 0.
    EXPECT_EQ(panel->frame(), Rect(0, 60, 300, 200));
    ASSERT_TRUE(panel->animationState());
    EXPECT_DOUBLE_EQ(panel->animationState()->fromCenter.y, 30 + 100);
    RunLoop::main().advance(kSlide);
    EXPECT_EQ(panel->presentationFrame(), Rect(0, 60, 300, 200));
    EXPECT_EQ(box_->view()->superview(), screen_.get());
}

TEST_F(WidgetMessageBoxTest, SlidingOutMovesThePanelDownThenTakesTheViewAway) {
    box_->viewWillAppear(false);
    RunLoop::main().advance(kSlide);
    box_->slideOut();
    EXPECT_DOUBLE_EQ(box_->actionSheetView()->frame().y(), 320 - 30);
    RunLoop::main().advance(kSlide / 2);
    EXPECT_EQ(box_->view()->superview(), screen_.get());
    RunLoop::main().advance(kSlide / 2);
    EXPECT_EQ(box_->view()->superview(), nullptr);
}

TEST_F(WidgetMessageBoxTest, ASecondSlideOutWhileTheFirstRunsEndsDetachedOnce) {
    box_->viewWillAppear(false);
    box_->slideOut();
    RunLoop::main().advance(kSlide / 2);
    box_->slideOut();
    RunLoop::main().advance(kSlide);
    EXPECT_EQ(box_->view()->superview(), nullptr);
    EXPECT_TRUE(screen_->subviews().empty());
}

TEST_F(WidgetMessageBoxTest, OnlyTheRemovingAnimationTakesTheViewAway) {
    box_->viewWillAppear(false);
    box_->animationDidStop(CustomUIMessageBox::kPresentAnimation, true);
    EXPECT_EQ(box_->view()->superview(), screen_.get());
    box_->animationDidStop(CustomUIMessageBox::kRemoveAnimation, true);
    EXPECT_EQ(box_->view()->superview(), nullptr);
}

} // namespace
} // namespace kavo::test
