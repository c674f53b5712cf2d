#include "ControlsTestSupport.h"
#include "platform/ui/Button.h"
#include "platform/ui/GraphicsContext.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/Slider.h"
#include "platform/ui/Switch.h"

#include <vector>

using namespace platform::ui;

class ButtonTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        button = Button::make({100, 100, 106, 35});
        button->setTitle("ĐĂNG NHẬP");
        for (ControlEvent event : {ControlEvent::TouchDown, ControlEvent::TouchUpInside, ControlEvent::TouchUpOutside,
                                   ControlEvent::TouchCancel})
            button->addTarget(event, [this, event] { events.push_back(event); });
        window->addSubview(button);
    }
    std::shared_ptr<Button> button;
    std::vector<ControlEvent> events;
};

TEST_F(ButtonTest, TapSendsTouchDownThenTouchUpInside) {
    touch(TouchPhase::Began, centerOf(*button));
    EXPECT_TRUE(button->isHighlighted());
    touch(TouchPhase::Ended, centerOf(*button));
    EXPECT_FALSE(button->isHighlighted());
    EXPECT_EQ(events, (std::vector<ControlEvent>{ControlEvent::TouchDown, ControlEvent::TouchUpInside}));
}

TEST_F(ButtonTest, LiftingJustOutsideStillCountsButFarOutsideIsTouchUpOutside) {
    Point center = centerOf(*button);
    drag(center, {button->frame().maxX() + 10, center.y}); // within the margin
    drag(center, {button->frame().maxX() + 80, center.y});
    EXPECT_EQ(events, (std::vector<ControlEvent>{ControlEvent::TouchDown, ControlEvent::TouchUpInside,
                                                 ControlEvent::TouchDown, ControlEvent::TouchUpOutside}));
    EXPECT_FALSE(button->isHighlighted());
}

TEST_F(ButtonTest, HighlightFollowsTheFingerInAndOut) {
    Point center = centerOf(*button);
    touch(TouchPhase::Began, center);
    touch(TouchPhase::Moved, {center.x + 200, center.y});
    EXPECT_FALSE(button->isHighlighted());
    touch(TouchPhase::Moved, center);
    EXPECT_TRUE(button->isHighlighted());
    touch(TouchPhase::Ended, center);
}

TEST_F(ButtonTest, DisabledButtonTakesTheTouchAndDoesNothing) {
    bool behindTapped = false;
    auto behind = Button::make({0, 0, 480, 320});
    behind->onTouchUpInside([&] { behindTapped = true; });
    window->insertSubview(behind, 0);
    button->setEnabled(false);
    tap(*button);
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(behindTapped);
    EXPECT_TRUE(hasFlag(button->state(), ControlState::Disabled));
}

TEST_F(ButtonTest, TitlesPerStateFallBackToNormal) {
    button->setTitle("Chọn", ControlState::Selected);
    button->setTitleColor(Color::yellow(), ControlState::Highlighted);
    EXPECT_EQ(button->titleForState(ControlState::Highlighted), "ĐĂNG NHẬP");
    EXPECT_EQ(button->currentTitle(), "ĐĂNG NHẬP");
    button->setSelected(true);
    EXPECT_EQ(button->text(), "Chọn");
    EXPECT_EQ(button->titleLabel()->text(), "Chọn");
    button->setSelected(false);
    button->setHighlighted(true);
    EXPECT_EQ(button->titleLabel()->textColor(), Color::yellow());
    EXPECT_EQ(button->text(), "ĐĂNG NHẬP");
}

TEST_F(ButtonTest, ActionThatRemovesTheButtonIsSafe) {
    int pressed = 0;
    button->onTouchUpInside([&] {
        ++pressed;
        button->removeFromSuperview();
        button.reset();
    });
    tap(Point{153, 117});
    EXPECT_EQ(pressed, 1);
}

TEST_F(ButtonTest, WithoutPicturesItDrawsALabelledBoxAndWithABackgroundOnlyThePicture) {
    EXPECT_TRUE(button->drawsPlaceholderBox());
    RecordingContext box;
    button->draw(box);
    EXPECT_EQ(box.linesStartingWith("fillPath").size(), 1u);
    EXPECT_EQ(box.linesStartingWith("strokePath").size(), 1u);
    EXPECT_FALSE(button->titleLabel()->isHidden());
    EXPECT_NEAR(button->titleLabel()->frame().center().x, button->bounds().width() / 2, 1);

    button->setBackgroundImage(Image::filled(20, 20, Color::red())->stretchable(10, 10));
    EXPECT_FALSE(button->drawsPlaceholderBox());
    RecordingContext picture;
    button->draw(picture);
    EXPECT_EQ(picture.linesStartingWith("drawImage").size(), 1u);
    EXPECT_TRUE(picture.linesStartingWith("fillPath").empty());

    auto blank = Button::make({0, 0, 480, 320}); // a clear button behind a form
    EXPECT_FALSE(blank->drawsPlaceholderBox());
}

class SwitchAndSliderTest : public ControlsTest {
protected:
    // Which dot the page control draws bright (-1 when none or several).
    static int brightDot(PageControl& dots) {
        RecordingContext picture;
        dots.draw(picture);
        int bright = -1, index = 0;
        for (const std::string& line : picture.linesStartingWith("setFillColor")) {
            if (line == "setFillColor 1,1,1,1") bright = bright < 0 ? index : -2;
            ++index;
        }
        return bright < 0 ? -1 : bright;
    }
};

// Deferring the display: a tap changes the page at once, the dots follow only when told.
TEST_F(SwitchAndSliderTest, APageControlThatDefersItsDisplayShowsTheOldPageUntilUpdated) {
    auto dots = PageControl::make({100, 280, 200, 36});
    dots->setNumberOfPages(3);
    window->addSubview(dots);
    EXPECT_EQ(brightDot(*dots), 0);
    dots->setDefersCurrentPageDisplay(true);
    tap(Point{280, 298});
    EXPECT_EQ(dots->currentPage(), 1);
    EXPECT_EQ(brightDot(*dots), 0);
    dots->updateCurrentPageDisplay();
    EXPECT_EQ(brightDot(*dots), 1);
    dots->setDefersCurrentPageDisplay(false);
    tap(Point{280, 298});
    EXPECT_EQ(brightDot(*dots), 2);
}

TEST_F(SwitchAndSliderTest, TappingASwitchFlipsItAndSendsValueChangedOnce) {
    auto toggle = Switch::make({108, 190, 79, 27});
    window->addSubview(toggle);
    int changes = 0;
    toggle->addTarget(ControlEvent::ValueChanged, [&] { ++changes; });
    tap(*toggle);
    EXPECT_TRUE(toggle->isOn());
    EXPECT_EQ(toggle->text(), "I") << "given no words, the platform draws the sign for on";
    tap(*toggle);
    EXPECT_FALSE(toggle->isOn());
    EXPECT_EQ(changes, 2);
    toggle->setOn(true); // from code: no event
    EXPECT_EQ(changes, 2);
    drag(centerOf(*toggle), {centerOf(*toggle).x, 300}); // lifted far away: no change
    EXPECT_TRUE(toggle->isOn());
    EXPECT_EQ(changes, 2);
}

TEST_F(SwitchAndSliderTest, SliderFollowsTheFingerAndReportsChanges) {
    auto slider = Slider::make({10, 24, 223, 28});
    slider->setMinimumValue(0);
    slider->setMaximumValue(9);
    window->addSubview(slider);
    std::vector<double> values;
    slider->addTarget(ControlEvent::ValueChanged, [&] { values.push_back(slider->value()); });
    // The thumb is 23 wide: its centre travels from x 21.5 to x 221.5 on screen.
    drag({21.5, 38}, {221.5, 38}, 4);
    EXPECT_DOUBLE_EQ(slider->value(), 9);
    EXPECT_EQ(values.size(), 4u);
    EXPECT_DOUBLE_EQ(values[1], 4.5);

    slider->setContinuous(false);
    values.clear();
    drag({221.5, 38}, {121.5, 38}, 4);
    EXPECT_EQ(values, (std::vector<double>{4.5}));
    drag({121.5, 38}, {121.5, 38}, 2); // no change: nothing sent
    EXPECT_EQ(values.size(), 1u);
    slider->setValue(100);
    EXPECT_DOUBLE_EQ(slider->value(), 9);
}

TEST_F(SwitchAndSliderTest, PageControlStepsByTheHalfTapped) {
    auto dots = PageControl::make({100, 280, 200, 36});
    dots->setNumberOfPages(3);
    window->addSubview(dots);
    int changes = 0;
    dots->addTarget(ControlEvent::ValueChanged, [&] { ++changes; });
    tap(Point{280, 298});
    tap(Point{280, 298});
    tap(Point{280, 298}); // already on the last page
    EXPECT_EQ(dots->currentPage(), 2);
    tap(Point{110, 298});
    EXPECT_EQ(dots->currentPage(), 1);
    EXPECT_EQ(changes, 3);
}
