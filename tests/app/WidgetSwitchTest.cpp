#include "app/Resources.h"
#include "app/widgets/CustomSwitch.h"
#include "app/widgets/CustomUIScrollView.h"
#include "app/widgets/CustomUISwitch.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Window.h"
#include "tests/app/AppTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

using platform::ui::Application;
using platform::ui::Color;
using platform::ui::ControlEvent;
using platform::ui::Image;
using platform::ui::Point;
using platform::ui::Rect;
using platform::ui::TouchPhase;
using platform::ui::Window;

// A control on screen, touched through the application as a finger would.
class WidgetSwitchTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = Window::make();
        window_->makeKeyAndVisible();
        control_ = CustomSwitch::make(Rect(100, 100, 100, 30));
        control_->setThumbnailButtonImage(Image::filled(30, 30, Color::white()));
        control_->addTarget(ControlEvent::ValueChanged, [this] { ++events_; });
        window_->addSubview(control_);
    }
    void TearDown() override {
        Window::resetAll();
        Application::shared().reset();
    }
    // Touch points are in the switch's own coordinates.
    static void touch(TouchPhase phase, double x, double y = 15) {
        Application::shared().dispatchTouch(phase, {100 + x, 100 + y});
    }
    void drag(double fromX, double toX) {
        touch(TouchPhase::Began, fromX);
        touch(TouchPhase::Moved, toX);
        touch(TouchPhase::Ended, toX);
    }

    AppEnvironment environment_;
    std::shared_ptr<Window> window_;
    std::shared_ptr<CustomSwitch> control_;
    int events_ = 0;
};

TEST_F(WidgetSwitchTest, ANewSwitchIsOnWithTheThumbAtTheRightEnd) {
    auto fresh = CustomSwitch::make(Rect(0, 0, 80, 20));
    EXPECT_TRUE(fresh->isOn());
    EXPECT_DOUBLE_EQ(fresh->percentage(), 1.0);
}

TEST_F(WidgetSwitchTest, ATapTogglesAndSendsOneEvent) {
    touch(TouchPhase::Began, 50);
    touch(TouchPhase::Ended, 50);
    EXPECT_FALSE(control_->isOn());
    EXPECT_DOUBLE_EQ(control_->percentage(), 0.0);
    EXPECT_EQ(events_, 1);
    touch(TouchPhase::Began, 50);
    touch(TouchPhase::Ended, 50);
    EXPECT_TRUE(control_->isOn());
    EXPECT_EQ(events_, 2);
}

TEST_F(WidgetSwitchTest, ADragReleasedAtHalfWaySettlesOnAndJustBelowSettlesOff) {
    control_->setOn(false);
    // Half way: the thumb's centre at 15 + (100 - 30) / 2 = 50.
    drag(10, 50);
    EXPECT_TRUE(control_->isOn());
    EXPECT_DOUBLE_EQ(control_->percentage(), 1.0);
    EXPECT_EQ(events_, 1);

    control_->setOn(false);
    drag(10, 49.9);
    EXPECT_FALSE(control_->isOn());
    EXPECT_EQ(events_, 1);
}

TEST_F(WidgetSwitchTest, ADragEndingOnTheSideItStartedSnapsBackSilently) {
    drag(90, 70);
    EXPECT_TRUE(control_->isOn());
    EXPECT_DOUBLE_EQ(control_->percentage(), 1.0);
    EXPECT_EQ(events_, 0);
}

TEST_F(WidgetSwitchTest, ADragThatLeavesByMoreThanTheMarginStopsTrackingButStillSettles) {
    control_->setOn(false);
    touch(TouchPhase::Began, 10);
    touch(TouchPhase::Moved, 90);
    EXPECT_DOUBLE_EQ(control_->percentage(), 1.0);
    touch(TouchPhase::Moved, 90, 30 + CustomSwitch::kTrackingMargin + 1);
    EXPECT_FALSE(control_->isTouching());
    EXPECT_DOUBLE_EQ(control_->percentage(), 1.0); // the thumb stays where it was
    touch(TouchPhase::Ended, 90, 30 + CustomSwitch::kTrackingMargin + 1);
    EXPECT_TRUE(control_->isOn());
    EXPECT_EQ(events_, 0);
}

TEST_F(WidgetSwitchTest, ComingBackIntoTheAreaResumesTracking) {
    control_->setOn(false);
    touch(TouchPhase::Began, 10);
    touch(TouchPhase::Moved, 10, 200);
    touch(TouchPhase::Moved, 90, 40);
    touch(TouchPhase::Ended, 90, 40);
    EXPECT_TRUE(control_->isOn());
    EXPECT_EQ(events_, 1);
}

TEST_F(WidgetSwitchTest, ATapEndingOutsideTheAreaTogglesWithoutAnEvent) {
    touch(TouchPhase::Began, 50);
    touch(TouchPhase::Moved, 50, -100);
    touch(TouchPhase::Ended, 50, -100);
    EXPECT_FALSE(control_->isOn());
    EXPECT_EQ(events_, 0);
}

TEST_F(WidgetSwitchTest, SettingTheStateFromCodeMovesTheThumbAndSendsNothing) {
    control_->setOn(false);
    EXPECT_DOUBLE_EQ(control_->percentage(), 0.0);
    control_->setOn(true);
    EXPECT_DOUBLE_EQ(control_->percentage(), 1.0);
    EXPECT_EQ(events_, 0);
}

// The words the platform draws by itself (the switches of the sign-in form and the settings,
// the pickers' Done) are the player's, and follow a change of language.
TEST(PlatformWords, SwitchesAndSystemBarItemsSpeakTheLanguageChosen) {
    AppEnvironment environment;
    auto& resources = Resources::getInstance();
    auto plain = platform::ui::Switch::make(Rect(0, 0, 79, 27));
    auto ours = CustomUISwitch::make(Rect(0, 0, 79, 27));
    auto done = platform::ui::BarButtonItem::withSystemItem(platform::ui::BarButtonSystemItem::Done);
    const struct {
        const char* language;
        const char* on;
        const char* off;
        const char* done;
    } cases[] = {{"en", "On", "Off", "Done"}, {"vi", "Bật", "Tắt", "Xong"}};
    for (const auto& c : cases) {
        resources.setCurrentLanguage(c.language);
        resources.loadLanguage();
        for (const auto& control : {plain, std::static_pointer_cast<platform::ui::Switch>(ours)}) {
            control->setNeedsLayout();
            control->layoutIfNeeded();
            control->setOn(false);
            EXPECT_EQ(control->text(), c.off) << c.language;
            control->setOn(true);
            EXPECT_EQ(control->text(), c.on) << c.language;
        }
        EXPECT_EQ(done->title(), c.done) << c.language;
    }
}

// The board behind the grid: counts the finger lifts that reach it.
class Board : public platform::ui::View {
public:
    using View::View;
    void touchesEnded(const std::vector<platform::ui::Touch>&) override { ++lifts; }
    int lifts = 0;
};

class WidgetTapThroughScrollView : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = Window::make();
        window_->makeKeyAndVisible();
        board_ = std::make_shared<Board>(Rect(0, 0, 300, 300));
        grid_ = CustomUIScrollView::make(Rect(0, 0, 300, 300));
        grid_->setContentSize({900, 900});
        board_->addSubview(grid_);
        window_->addSubview(board_);
    }
    void TearDown() override {
        Window::resetAll();
        Application::shared().reset();
    }
    AppEnvironment environment_;
    std::shared_ptr<Window> window_;
    std::shared_ptr<Board> board_;
    std::shared_ptr<CustomUIScrollView> grid_;
};

TEST_F(WidgetTapThroughScrollView, ATapReachesTheBoardBehindOnce) {
    Application::shared().dispatchTouch(TouchPhase::Began, {100, 100});
    Application::shared().dispatchTouch(TouchPhase::Ended, {100, 100});
    EXPECT_EQ(board_->lifts, 1);
    EXPECT_EQ(grid_->contentOffset(), (Point{0, 0}));
}

TEST_F(WidgetTapThroughScrollView, TheEndOfADragStaysWithTheScrollView) {
    Application::shared().dispatchTouch(TouchPhase::Began, {200, 200});
    Application::shared().dispatchTouch(TouchPhase::Moved, {150, 150});
    Application::shared().dispatchTouch(TouchPhase::Moved, {100, 100});
    Application::shared().dispatchTouch(TouchPhase::Ended, {100, 100});
    EXPECT_EQ(board_->lifts, 0);
    EXPECT_EQ(grid_->contentOffset(), (Point{100, 100}));
}

} // namespace
} // namespace kavo::test
