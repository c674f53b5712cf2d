#include "app/widgets/CustomAlertBackground.h"
#include "app/widgets/CustomBlockAlertView.h"
#include "app/widgets/CustomTextPromt.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Responder.h"
#include "platform/ui/Window.h"
#include "tests/app/AppTestSupport.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace kavo::test {
namespace {

using platform::RunLoop;
using platform::ui::Application;
using platform::ui::Button;
using platform::ui::Rect;
using platform::ui::TextField;
using platform::ui::Window;

class WidgetBlockAlertTest : public ::testing::Test {
protected:
    void SetUp() override {
        background()->reset();
        mainWindow_ = Window::make();
        mainWindow_->makeKeyAndVisible();
    }
    void TearDown() override {
        background()->reset();
        Window::resetAll();
        Application::shared().reset();
        platform::ui::Responder::forgetFirstResponder();
        platform::ui::Keyboard::reset();
    }
    static std::shared_ptr<CustomAlertBackground> background() { return CustomAlertBackground::sharedInstance(); }
    static Button& button(const CustomBlockAlertView& alert, int index) {
        return dynamic_cast<Button&>(*alert.view()->viewWithTag(index + 1));
    }
    // Taps the middle of a button as a finger would.
    static void tap(const Button& target) {
        auto point = target.convertPoint(target.bounds().center(), nullptr);
        Application::shared().dispatchTouch(platform::ui::TouchPhase::Began, point);
        Application::shared().dispatchTouch(platform::ui::TouchPhase::Ended, point);
        RunLoop::main().runPending();
    }
    // Lets the entrance finish.
    static void settle() { RunLoop::main().advance(3 * CustomBlockAlertView::kPopDuration + 0.01); }

    AppEnvironment environment_;
    platform::ScopedManualClock clock_;
    std::shared_ptr<Window> mainWindow_;
};

TEST_F(WidgetBlockAlertTest, ALoneShortButtonIsCentredAndAtLeastEightyTwoWide) {
    auto alert = CustomBlockAlertView::alertWithTitle("Title", "A message");
    alert->setOKButtonWithTitle("OK", {});
    alert->show();
    const double width = alert->view()->bounds().width();
    Rect frame = button(*alert, 0).frame();
    EXPECT_DOUBLE_EQ(frame.width(), 82);
    EXPECT_DOUBLE_EQ(frame.x(), std::floor((width - 82) / 2));
    EXPECT_DOUBLE_EQ(frame.height(), CustomBlockAlertView::kButtonHeight);
    alert->dismissWithClickedButtonIndex(0, false);
}

TEST_F(WidgetBlockAlertTest, TwoShortTitlesShareARowAndAThirdStartsANewOne) {
    auto alert = CustomBlockAlertView::alertWithTitle("Title", "");
    alert->addButtonWithTitle("Yes", {});
    alert->setCancelButtonWithTitle("No", {});
    alert->addButtonWithTitle("Later", {});
    alert->show();
    const double half = std::floor((alert->view()->bounds().width() - 3) / 2);
    Rect left = button(*alert, 0).frame(), right = button(*alert, 1).frame(), third = button(*alert, 2).frame();
    EXPECT_EQ(left, Rect(1, left.y(), half, 25));
    EXPECT_EQ(right, Rect(half + 2, left.y(), half, 25));
    EXPECT_DOUBLE_EQ(third.y(), left.y() + CustomBlockAlertView::kButtonRowStep);
    EXPECT_DOUBLE_EQ(third.width(), alert->view()->bounds().width() - 2);
    EXPECT_EQ(button(*alert, 1).backgroundImageForState(platform::ui::ControlState::Normal)->width(),
              platform::ui::Image::named("alert-black-button.png")->width());
    alert->dismissWithClickedButtonIndex(-1, false);
}

TEST_F(WidgetBlockAlertTest, ShortContentIsStretchedToThePictureWithButtonsAtTheBottom) {
    auto alert = CustomBlockAlertView::alertWithTitle("Hi", "");
    alert->setOKButtonWithTitle("OK", {});
    alert->show();
    const double pictureHeight = CustomBlockAlertView::alertBackgroundImage()->height();
    EXPECT_DOUBLE_EQ(alert->view()->bounds().height(), pictureHeight);
    // The button ends its row step and the bottom margin above the edge.
    EXPECT_DOUBLE_EQ(button(*alert, 0).frame().y(),
                     pictureHeight - CustomBlockAlertView::kBottomMargin - CustomBlockAlertView::kButtonRowStep);
    alert->dismissWithClickedButtonIndex(0, false);
}

TEST_F(WidgetBlockAlertTest, TappingAButtonRunsItsBlockOnceAndTakesTheAlertAway) {
    int yes = 0, no = 0;
    auto alert = CustomBlockAlertView::alertWithTitle("Leave the table?", "");
    alert->addButtonWithTitle("Yes", [&] { ++yes; });
    alert->setCancelButtonWithTitle("No", [&] { ++no; });
    alert->show();
    std::weak_ptr<CustomBlockAlertView> weak = alert;
    alert.reset(); // a shown alert keeps itself
    ASSERT_FALSE(weak.expired());
    settle();
    tap(button(*weak.lock(), 0));
    EXPECT_EQ(yes, 1);
    EXPECT_EQ(no, 0);
    EXPECT_TRUE(weak.expired());
    EXPECT_TRUE(background()->isHidden());
    EXPECT_TRUE(background()->subviews().empty());
}

TEST_F(WidgetBlockAlertTest, DismissingOutsideTheButtonsRunsNoBlockButRemovesTheAlert) {
    int runs = 0;
    auto alert = CustomBlockAlertView::alertWithTitle("Title", "");
    alert->setOKButtonWithTitle("OK", [&] { ++runs; });
    alert->show();
    alert->dismissWithClickedButtonIndex(-1, true);
    alert->dismissWithClickedButtonIndex(5, true);
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(alert->isShown());
    EXPECT_EQ(alert->view()->superview(), nullptr);
}

TEST_F(WidgetBlockAlertTest, TheEntrancePopsAndThenAnnouncesItsEnd) {
    int finished = 0;
    auto token = platform::NotificationCenter::defaultCenter().addObserver(
        CustomBlockAlertView::kFinishedAnimationsNotification, [&](const platform::Notification&) { ++finished; });
    auto alert = CustomBlockAlertView::alertWithTitle("Title", "");
    alert->show();
    EXPECT_DOUBLE_EQ(alert->view()->transform().a, 0.5);
    RunLoop::main().runPending(); // the instant step is over: on to 1.2 over 0.2 s
    EXPECT_DOUBLE_EQ(alert->view()->transform().a, 1.2);
    RunLoop::main().advance(CustomBlockAlertView::kPopDuration);
    EXPECT_DOUBLE_EQ(alert->view()->transform().a, 0.9);
    RunLoop::main().advance(CustomBlockAlertView::kPopDuration);
    EXPECT_TRUE(alert->view()->transform().isIdentity());
    EXPECT_EQ(finished, 0);
    RunLoop::main().advance(CustomBlockAlertView::kPopDuration);
    EXPECT_EQ(finished, 1);
    platform::NotificationCenter::defaultCenter().removeObserver(token);
    alert->dismissWithClickedButtonIndex(0, false);
}

TEST_F(WidgetBlockAlertTest, OnlyTheTopAlertTakesTouchesAndTheLastOneReturnsTheKeyWindow) {
    auto lower = CustomBlockAlertView::alertWithTitle("Lower", "");
    lower->setOKButtonWithTitle("OK", {});
    lower->show();
    EXPECT_EQ(Window::keyWindow(), background().get());
    auto upper = CustomBlockAlertView::alertWithTitle("Upper", "");
    upper->setOKButtonWithTitle("OK", {});
    upper->show();
    EXPECT_FALSE(lower->view()->isUserInteractionEnabled());
    EXPECT_TRUE(upper->view()->isUserInteractionEnabled());

    upper->dismissWithClickedButtonIndex(0, false);
    EXPECT_TRUE(lower->view()->isUserInteractionEnabled());
    EXPECT_FALSE(background()->isHidden());
    lower->dismissWithClickedButtonIndex(0, false);
    EXPECT_TRUE(background()->isHidden());
    EXPECT_EQ(Window::keyWindow(), mainWindow_.get());
}

TEST_F(WidgetBlockAlertTest, ABackgroundPictureGoesUnderTheAlertAndLeavesWithIt) {
    auto alert = CustomBlockAlertView::alertWithTitle("Title", "");
    alert->setBackgroundImage(platform::ui::Image::filled(480, 320, platform::ui::Color::blue()));
    alert->show();
    ASSERT_EQ(background()->subviews().size(), 2u);
    EXPECT_FALSE(background()->backgroundImage());
    background()->reduceAlphaIfEmpty();
    EXPECT_DOUBLE_EQ(background()->alpha(), 0);
    alert->dismissWithClickedButtonIndex(0, false);
    EXPECT_TRUE(background()->subviews().empty());
}

// ---- the prompt

class WidgetTextPromptTest : public WidgetBlockAlertTest {
protected:
    std::shared_ptr<CustomTextPromt> prompt(const std::string& text) {
        auto made = CustomTextPromt::promptWithTitle("Name", "", text);
        made->setCancelButtonWithTitle("Cancel", {});
        made->setOKButtonWithTitle("OK", {});
        return made;
    }
};

TEST_F(WidgetTextPromptTest, AFullFieldRefusesMoreButAllowsDeletingAndSameLengthPastes) {
    auto field = prompt("abcde");
    field->setMaxLength(5);
    auto& text = *field->textField();
    EXPECT_FALSE(text.replaceCharacters(5, 0, "f"));
    EXPECT_EQ(text.text(), "abcde");
    EXPECT_TRUE(text.replaceCharacters(4, 1, ""));
    EXPECT_EQ(text.text(), "abcd");
    // Judged by the length after the replacement.
    EXPECT_TRUE(text.replaceCharacters(1, 2, "xyz"));
    EXPECT_EQ(text.text(), "axyzd");
    EXPECT_FALSE(text.replaceCharacters(0, 1, "12"));
}

TEST_F(WidgetTextPromptTest, AllowedCharactersFilterTypingAndPastingWhole) {
    auto field = prompt("");
    field->setAllowableCharacters(std::string("0123456789"));
    auto& text = *field->textField();
    EXPECT_FALSE(text.replaceCharacters(0, 0, "a"));
    EXPECT_TRUE(text.replaceCharacters(0, 0, "5"));
    EXPECT_TRUE(text.replaceCharacters(0, 1, ""));
    // A pasted text passes only when every character is allowed.
    EXPECT_FALSE(text.replaceCharacters(0, 0, "a1b"));
    EXPECT_FALSE(text.replaceCharacters(0, 0, "1a2"));
    EXPECT_TRUE(text.replaceCharacters(0, 0, "123"));
    EXPECT_EQ(text.text(), "123");
    field->setAllowableCharacters(std::nullopt);
    EXPECT_TRUE(text.replaceCharacters(3, 0, "ấ"));
}

TEST_F(WidgetTextPromptTest, TheReturnKeyAsksTheCallback) {
    int asked = 0;
    std::shared_ptr<TextField> field;
    auto made = CustomTextPromt::promptWithTitle("Name", "", &field, [&](CustomTextPromt& prompt) {
        ++asked;
        return !prompt.textField()->text().empty();
    });
    ASSERT_EQ(field, made->textField());
    EXPECT_FALSE(made->shouldReturn(*field));
    field->setText("an");
    EXPECT_TRUE(made->shouldReturn(*field));
    EXPECT_EQ(asked, 2);
    made->setCallBack({});
    EXPECT_FALSE(made->shouldReturn(*field));
}

TEST_F(WidgetTextPromptTest, TheKeyboardOpensAfterTheEntranceAndTheAlertMovesAboveIt) {
    auto made = prompt("an");
    made->show();
    EXPECT_FALSE(made->textField()->isFirstResponder());
    settle();
    EXPECT_TRUE(made->textField()->isFirstResponder());
    RunLoop::main().advance(1);
    // As high as the room above the keyboard allows, never above the screen's top.
    const auto frame = made->view()->frame();
    const double room = 320 - platform::ui::Keyboard::height();
    EXPECT_DOUBLE_EQ(frame.y(), std::max(0.0, room - frame.height()));
    EXPECT_LT(frame.y(), (320 - frame.height()) / 2);

    made->dismissWithClickedButtonIndex(0, false);
    EXPECT_FALSE(made->textField()->isFirstResponder());
}

TEST_F(WidgetTextPromptTest, ADismissedPromptNoLongerFollowsTheKeyboard) {
    auto made = prompt("an");
    made->show();
    made->dismissWithClickedButtonIndex(1, false);
    settle();
    EXPECT_FALSE(made->textField()->isFirstResponder());
}

} // namespace
} // namespace kavo::test
