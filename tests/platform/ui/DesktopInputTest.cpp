// The desktop's own input: the mouse wheel over scroll views and the Escape and Return
// keys over alerts, sheets, fields and screens.
#include "CoreTestSupport.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Button.h"
#include "platform/ui/Display.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Window.h"

using namespace platform::ui;

namespace {

class DesktopInput : public CoreUiTest {
protected:
    void SetUp() override {
        CoreUiTest::SetUp();
        window = Window::make();
        window->makeKeyAndVisible();
        outer = ScrollView::make({0, 0, 480, 320});
        outer->setContentSize({480, 1000});
        inner = ScrollView::make({40, 40, 200, 100});
        inner->setContentSize({200, 180});
        outer->addSubview(inner);
        window->addSubview(outer);
    }
    std::shared_ptr<Window> window;
    std::shared_ptr<ScrollView> outer, inner;
};

struct AlertRecorder : AlertViewDelegate {
    void clickedButtonAtIndex(AlertView&, int index) override { clicked.push_back(index); }
    std::vector<int> clicked;
};

} // namespace

TEST_F(DesktopInput, TheWheelScrollsTheInnermostScrollViewUnderThePointerWithinItsContent) {
    auto& app = Application::shared();
    EXPECT_TRUE(app.dispatchScroll({100, 80}, {0, 50}));
    EXPECT_EQ(inner->contentOffset(), Point(0, 50));
    EXPECT_EQ(outer->contentOffset(), Point(0, 0));
    // The inner one is at its end (180 - 100 = 80): the outer one takes the wheel.
    EXPECT_TRUE(app.dispatchScroll({100, 80}, {0, 100}));
    EXPECT_EQ(inner->contentOffset(), Point(0, 80));
    EXPECT_TRUE(app.dispatchScroll({100, 80}, {0, 100}));
    EXPECT_EQ(outer->contentOffset(), Point(0, 100));
    // Outside the inner one only the outer one moves; never past its start.
    EXPECT_TRUE(app.dispatchScroll({400, 300}, {0, -500}));
    EXPECT_EQ(outer->contentOffset(), Point(0, 0));
    EXPECT_FALSE(app.dispatchScroll({400, 300}, {0, -40}));
    outer->setScrollEnabled(false);
    EXPECT_FALSE(app.dispatchScroll({400, 300}, {0, 40}));
}

// Escape presses the cancel button of the alert on screen before anything else, and an
// alert without one waits for its answer; Return presses the default button (the first
// other one, else the only one). With no alert up, Escape is the application's own action
// (a sheet's close, a screen's back).
TEST_F(DesktopInput, EscapeAndReturnPressTheAlertsButtonsBeforeAnythingElse) {
    struct Case {
        const char* cancel;
        std::vector<std::string> others;
        Key key;
        std::vector<int> clicked;
    };
    const Case cases[] = {{"Không", {"Có"}, Key::Escape, {0}},
                          {"", {"OK"}, Key::Escape, {}},
                          {"Không", {"Có"}, Key::Return, {1}},
                          {"OK", {}, Key::Return, {0}}};
    int escapes = 0;
    Application::shared().setEscapeAction([&escapes] { return ++escapes > 0; });
    for (const Case& c : cases) {
        AlertRecorder recorder;
        auto alert = AlertView::make("", "Thoát bàn?", &recorder, c.cancel, c.others);
        alert->show();
        Application::shared().dispatchKey(c.key);
        EXPECT_EQ(recorder.clicked, c.clicked);
        EXPECT_EQ(alert->isVisible(), c.clicked.empty());
        alert->dismissWithClickedButtonIndex(0, false);
    }
    EXPECT_EQ(escapes, 0);
    Application::shared().dispatchKey(Key::Escape);
    EXPECT_EQ(escapes, 1);
}

// Return with a text field focused: a dialog on screen takes it first (its default button,
// the field hears nothing); then the application's own action (a sheet over the field)
// when it takes the key; the field last.
TEST_F(DesktopInput, ReturnGoesToTheDialogThenTheReturnActionThenTheFocusedField) {
    struct FieldRecorder : TextFieldDelegate {
        bool shouldReturn(TextField&) override {
            ++returns;
            return true;
        }
        int returns = 0;
    } fieldRecorder;
    auto field = TextField::make({10, 200, 200, 30});
    field->setDelegate(&fieldRecorder);
    window->addSubview(field);
    ASSERT_TRUE(field->becomeFirstResponder());
    auto& app = Application::shared();
    int actions = 0;
    bool actionTakes = true;
    app.setReturnAction([&] {
        ++actions;
        return actionTakes;
    });

    AlertRecorder recorder;
    auto alert = AlertView::make("", "Gửi thư?", &recorder, "Không", {"Gửi"});
    alert->show();
    app.dispatchKey(Key::Return);
    EXPECT_EQ(recorder.clicked, std::vector<int>{1}) << "the dialog's default button";
    EXPECT_FALSE(alert->isVisible());
    EXPECT_EQ(actions, 0);
    EXPECT_EQ(fieldRecorder.returns, 0) << "the field under the dialog hears nothing";
    EXPECT_TRUE(field->isFirstResponder());

    app.dispatchKey(Key::Return);
    EXPECT_EQ(actions, 1);
    EXPECT_EQ(fieldRecorder.returns, 0) << "the action took the key";

    actionTakes = false;
    app.dispatchKey(Key::Return);
    EXPECT_EQ(actions, 2);
    EXPECT_EQ(fieldRecorder.returns, 1) << "the field answers what the action leaves";
    field->setDelegate(nullptr);
}

TEST_F(DesktopInput, ChangesNobodyCanSeeCostNoFrame) {
    auto offWindow = Label::make({0, 0, 100, 20});
    auto underHidden = Label::make({0, 0, 100, 20});
    auto hiddenParent = View::make({0, 0, 200, 200});
    hiddenParent->setHidden(true);
    hiddenParent->addSubview(underHidden);
    window->addSubview(hiddenParent);
    const uint64_t before = Display::generation();
    offWindow->setText("quay");
    underHidden->setText("quay");
    EXPECT_EQ(Display::generation(), before);

    auto shown = Label::make({0, 0, 100, 20});
    window->addSubview(shown);
    const uint64_t added = Display::generation();
    EXPECT_GT(added, before);
    shown->setText("Bàn 1");
    EXPECT_GT(Display::generation(), added);
    const uint64_t hiding = Display::generation();
    shown->setHidden(true);
    EXPECT_GT(Display::generation(), hiding) << "hiding a shown view is a change to show";
}

TEST_F(DesktopInput, ACaptionTooWideEvenAtItsSmallestSizeWrapsInsteadOfBeingCut) {
    auto caption = Label::make({0, 0, 60, 80});
    caption->setFont(Font::system(14));
    caption->setAdjustsFontSizeToFitWidth(true);
    caption->setMinimumFontSize(9);
    caption->setText("TÊN ĐĂNG NHẬP CỦA BẠN");
    ASSERT_EQ(caption->displayLines().size(), 1u);
    EXPECT_NE(caption->displayLines().front().find("\u2026"), std::string::npos) << "cut without the switch";

    caption->setWrapsWhenShrunk(true);
    const auto lines = caption->displayLines();
    ASSERT_GE(lines.size(), 2u);
    std::string joined;
    for (const auto& line : lines)
        joined += (joined.empty() ? "" : " ") + line;
    EXPECT_EQ(joined, "TÊN ĐĂNG NHẬP CỦA BẠN");
    EXPECT_EQ(caption->fittedFont().size(), 9);

    caption->setText("TÊN");
    EXPECT_EQ(caption->displayLines(), std::vector<std::string>{"TÊN"}) << "a short caption keeps one line";
}

TEST_F(DesktopInput, AWrappingCaptionKeepsEachWordWholeAndAButtonGivesItsTitleTheSecondLine) {
    auto caption = Label::make({0, 0, 48, 30});
    caption->setFont(Font::boldSystem(9));
    caption->setAdjustsFontSizeToFitWidth(true);
    caption->setMinimumFontSize(8);
    caption->setWrapsWhenShrunk(true);
    caption->setText("Leaderboard");
    EXPECT_EQ(caption->displayLines(), std::vector<std::string>{"Leaderboard"}) << "not split inside the word";
    EXPECT_LT(caption->fittedFont().size(), 8);
    EXPECT_GE(caption->fittedFont().size(), 6.4);

    auto button = Button::make({0, 0, 52, 30});
    button->setTitle("Bảng xếp hạng");
    button->titleLabel()->setFont(Font::boldSystem(9));
    button->titleLabel()->setAdjustsFontSizeToFitWidth(true);
    button->titleLabel()->setMinimumFontSize(8);
    button->titleLabel()->setWrapsWhenShrunk(true);
    button->setNeedsLayout();
    button->layoutIfNeeded();
    EXPECT_EQ(button->titleLabel()->displayLines(), (std::vector<std::string>{"Bảng xếp", "hạng"}));
}
