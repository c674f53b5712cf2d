#include "platform/ui/TextField.h"

#include "ControlsTestSupport.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Text.h"
#include "platform/ui/GraphicsContext.h"
#include "platform/ui/KeyInputView.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/TextView.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using namespace platform::ui;

namespace {

// Records what the field asks and tells; refuses changes that would pass a length limit.
class RecordingFieldDelegate : public TextFieldDelegate {
public:
    bool shouldBeginEditing(TextField&) override {
        calls.push_back("shouldBegin");
        return allowBegin;
    }
    void didBeginEditing(TextField&) override { calls.push_back("didBegin"); }
    bool shouldEndEditing(TextField&) override {
        calls.push_back("shouldEnd");
        return true;
    }
    void didEndEditing(TextField&) override { calls.push_back("didEnd"); }
    bool shouldChangeCharacters(TextField& field, size_t location, size_t length,
                                const std::string& replacement) override {
        calls.push_back("change " + std::to_string(location) + "," + std::to_string(length) + " '" + replacement + "'");
        size_t after = platform::utf16Length(field.text()) - length + platform::utf16Length(replacement);
        return maxLength == 0 || after <= maxLength;
    }
    bool shouldReturn(TextField& field) override {
        calls.push_back("shouldReturn");
        field.resignFirstResponder();
        return true;
    }
    std::vector<std::string> calls;
    bool allowBegin = true;
    size_t maxLength = 0;
};

} // namespace

class TextFieldTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        field = TextField::make({108, 116, 216, 30});
        field->setDelegate(&delegate);
        field->setPlaceholder("Tên đăng nhập");
        for (ControlEvent event : {ControlEvent::EditingDidBegin, ControlEvent::EditingChanged,
                                   ControlEvent::EditingDidEnd, ControlEvent::EditingDidEndOnExit})
            field->addTarget(event, [this, event] { events.push_back(event); });
        window->addSubview(field);
        auto& center = platform::NotificationCenter::defaultCenter();
        for (const char* name : {Keyboard::WillShowNotification, Keyboard::WillHideNotification})
            tokens.push_back(center.addObserver(name, [this](const platform::Notification& n) {
                keyboard.push_back(n.name);
                keyboardFrame = Keyboard::frameFromUserInfo(n.userInfo);
            }));
    }
    void TearDown() override {
        for (auto token : tokens)
            platform::NotificationCenter::defaultCenter().removeObserver(token);
        field.reset();
        ControlsTest::TearDown();
    }
    std::shared_ptr<TextField> field;
    RecordingFieldDelegate delegate;
    std::vector<ControlEvent> events;
    std::vector<std::string> keyboard;
    Rect keyboardFrame;
    std::vector<platform::NotificationCenter::Token> tokens;
};

TEST_F(TextFieldTest, TapStartsEditingAndBringsTheKeyboardUp) {
    tap(*field);
    EXPECT_TRUE(field->isFirstResponder());
    EXPECT_TRUE(field->isEditing());
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"shouldBegin", "didBegin"}));
    EXPECT_EQ(events, (std::vector<ControlEvent>{ControlEvent::EditingDidBegin}));
    EXPECT_EQ(keyboard, (std::vector<std::string>{Keyboard::WillShowNotification}));
    EXPECT_EQ(keyboardFrame, (Rect{0, 158, 480, 162}));
}

TEST_F(TextFieldTest, DelegateCanRefuseToBeginEditing) {
    delegate.allowBegin = false;
    tap(*field);
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_TRUE(keyboard.empty());
}

TEST_F(TextFieldTest, TypingOffersUtf16RangesOfVietnameseAndEmoji) {
    tap(*field);
    delegate.calls.clear();
    auto& app = Application::shared();
    app.dispatchText("Việt");
    app.dispatchText("😀");
    app.dispatchText("a");
    EXPECT_EQ(field->text(), "Việt😀a");
    app.dispatchKey(Key::Backspace); // the "a": one unit at 6
    app.dispatchKey(Key::Backspace); // the emoji: two units at 4
    app.dispatchKey(Key::Backspace); // "t" at 3
    app.dispatchKey(Key::Backspace); // "ệ": one precomposed unit at 2
    EXPECT_EQ(field->text(), "Vi");
    EXPECT_EQ(delegate.calls,
              (std::vector<std::string>{"change 0,0 'Việt'", "change 4,0 '😀'", "change 6,0 'a'", "change 6,1 ''",
                                        "change 4,2 ''", "change 3,1 ''", "change 2,1 ''"}));
    EXPECT_EQ(std::count(events.begin(), events.end(), ControlEvent::EditingChanged), 7);
    app.dispatchText("1\n2\r3");
    EXPECT_EQ(field->text(), "Vi1 2 3") << "a pasted line break becomes a space";
}

// A mark with nothing before it to join stands alone, and backspace never looks
// before the text's start for a character to join it to.
TEST_F(TextFieldTest, BackspaceOverMarksAtTheStartTakesOnlyTheText) {
    struct Case {
        const char* text;
        const char* after;
        const char* change;
    };
    const Case cases[] = {
        {"\u0301", "", "change 0,1 ''"},               // a lone combining acute
        {"\u0301\u0323", "", "change 0,2 ''"},         // two marks and nothing else
        {"\u0301b", "\u0301", "change 1,1 ''"},        // a mark, then a letter
        {"a\u0301\u0323", "", "change 0,3 ''"},        // a letter with its two marks
        {"\U0001F44D\U0001F3FD", "", "change 0,4 ''"}, // a thumb with its skin tone
    };
    tap(*field);
    for (const Case& c : cases) {
        field->setText(c.text);
        delegate.calls.clear();
        Application::shared().dispatchKey(Key::Backspace);
        EXPECT_EQ(field->text(), c.after) << c.change;
        EXPECT_EQ(delegate.calls, std::vector<std::string>{c.change});
    }
}

TEST_F(TextFieldTest, RefusedChangeLeavesTheTextAsItWas) {
    delegate.maxLength = 5;
    tap(*field);
    Application::shared().dispatchText("Hòa12");
    events.clear();
    Application::shared().dispatchText("3");
    EXPECT_EQ(field->text(), "Hòa12");
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(field->replaceCharacters(0, 3, "Hà Nội")); // 5 - 3 + 6 > 5
    EXPECT_TRUE(field->replaceCharacters(0, 3, "Huế"));
    EXPECT_EQ(field->text(), "Huế12");
}

TEST_F(TextFieldTest, ReturnKeyAsksTheDelegateWhichEndsEditing) {
    tap(*field);
    Application::shared().dispatchText("an");
    delegate.calls.clear();
    events.clear();
    Application::shared().dispatchKey(Key::Return);
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"shouldReturn", "shouldEnd", "didEnd"}));
    EXPECT_EQ(events, (std::vector<ControlEvent>{ControlEvent::EditingDidEnd, ControlEvent::EditingDidEndOnExit}));
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_EQ(keyboard.back(), Keyboard::WillHideNotification);
    EXPECT_EQ(field->text(), "an");
}

TEST_F(TextFieldTest, ReturnWithAnExitActionResignsByItself) {
    field->setDelegate(nullptr);
    bool exited = false;
    field->addTarget(ControlEvent::EditingDidEndOnExit, [&] { exited = true; });
    tap(*field);
    Application::shared().dispatchText("\n");
    EXPECT_TRUE(exited);
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_EQ(field->text(), "");
}

TEST_F(TextFieldTest, MovingToAnotherFieldKeepsTheKeyboardUp) {
    auto password = TextField::make({108, 152, 216, 30});
    window->addSubview(password);
    tap(*field);
    tap(*password);
    EXPECT_TRUE(password->isFirstResponder());
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(keyboard, (std::vector<std::string>{Keyboard::WillShowNotification}));
    EXPECT_EQ(events.back(), ControlEvent::EditingDidEnd);
}

// However the field loses the focus, its edit ends once (didEndEditing, EditingDidEnd) and
// keys no longer reach it: another field taken, Escape, the panel holding it hidden or taken
// off the window, the window losing the keyboard focus.
TEST_F(TextFieldTest, TheEditEndsHoweverTheFieldLosesTheFocus) {
    struct Road {
        const char* name;
        std::function<void(View& panel, TextField& other)> leave;
    };
    const Road roads[] = {
        {"another field", [](View&, TextField& other) { tap(other); }},
        {"Escape", [](View&, TextField&) { Application::shared().dispatchKey(Key::Escape); }},
        {"the panel hidden", [](View& panel, TextField&) { panel.setHidden(true); }},
        {"the panel taken off", [](View& panel, TextField&) { panel.removeFromSuperview(); }},
        {"the window losing the focus", [](View&, TextField&) { Application::shared().windowLostFocus(); }},
    };
    auto other = TextField::make({108, 200, 216, 30});
    window->addSubview(other);
    for (const Road& road : roads) {
        SCOPED_TRACE(road.name);
        auto panel = View::make(window->bounds());
        window->addSubview(panel);
        window->bringSubviewToFront(other.get());
        panel->addSubview(field);
        tap(*field);
        Application::shared().dispatchText("an");
        delegate.calls.clear();
        events.clear();

        road.leave(*panel, *other);
        EXPECT_FALSE(field->isEditing());
        EXPECT_EQ(delegate.calls, (std::vector<std::string>{"shouldEnd", "didEnd"}));
        EXPECT_EQ(events, (std::vector<ControlEvent>{ControlEvent::EditingDidEnd}));
        Application::shared().dispatchText("x");
        EXPECT_EQ(field->text(), "an");

        other->resignFirstResponder();
        field->setText("");
        panel->removeFromSuperview();
    }
}

TEST_F(TextFieldTest, ShowsBulletsForSecureTextAndGreyPlaceholderWhenEmpty) {
    RecordingContext empty;
    field->draw(empty);
    auto placeholder = empty.linesStartingWith("drawText");
    ASSERT_EQ(placeholder.size(), 1u);
    EXPECT_NE(placeholder[0].find("Tên đăng nhập"), std::string::npos);
    EXPECT_NE(placeholder[0].find("0.7,0.7,0.7"), std::string::npos);

    field->setSecureTextEntry(true);
    field->setText("mật😀");
    EXPECT_EQ(field->displayText(), "••••");
    EXPECT_EQ(field->text(), "mật😀");

    tap(*field);
    RecordingContext editing;
    field->draw(editing);
    EXPECT_EQ(editing.linesStartingWith("drawLine").size(), 1u); // the caret
}

TEST_F(TextFieldTest, ClearButtonEmptiesTheField) {
    field->setClearButtonMode(TextFieldViewMode::WhileEditing);
    field->setText("abc");
    EXPECT_FALSE(field->isClearButtonVisible());
    tap(*field);
    ASSERT_TRUE(field->isClearButtonVisible());
    events.clear();
    tap(field->convertPoint(field->clearButtonRect().center(), nullptr));
    EXPECT_EQ(field->text(), "");
    EXPECT_EQ(events, (std::vector<ControlEvent>{ControlEvent::EditingChanged}));
    EXPECT_TRUE(field->isFirstResponder());
}

TEST_F(TextFieldTest, KeyInputViewTakesTypingWithoutAField) {
    auto input = KeyInputView::make({0, 280, 300, 40});
    std::string typed;
    int backspaces = 0;
    input->setInsertTextHandler([&](const std::string& text) { typed += text; });
    input->setDeleteBackwardHandler([&] { ++backspaces; });
    window->addSubview(input);
    tap(*input);
    EXPECT_TRUE(input->isFirstResponder());
    EXPECT_EQ(keyboard, (std::vector<std::string>{Keyboard::WillShowNotification}));
    Application::shared().dispatchText("chào :)");
    Application::shared().dispatchKey(Key::Backspace);
    Application::shared().dispatchKey(Key::Return);
    EXPECT_EQ(typed, "chào :)\n");
    EXPECT_EQ(backspaces, 1);
}

TEST_F(TextFieldTest, TextViewTakesLinesAndGrowsItsContent) {
    auto view = TextView::make({10, 10, 200, 60});
    window->addSubview(view);
    tap(*view);
    ASSERT_TRUE(view->isFirstResponder());
    auto& app = Application::shared();
    app.dispatchText("Dòng một");
    app.dispatchKey(Key::Return);
    app.dispatchText("Dòng hai");
    app.dispatchKey(Key::Return);
    app.dispatchText("Dòng ba");
    EXPECT_EQ(view->text(), "Dòng một\nDòng hai\nDòng ba");
    EXPECT_GT(view->contentSize().height, 60);
    EXPECT_EQ(view->contentOffset().y, view->maximumContentOffset().y); // the end stays in sight
    view->setEditable(false);
    EXPECT_FALSE(view->isFirstResponder());
    app.dispatchText("x");
    EXPECT_EQ(view->text(), "Dòng một\nDòng hai\nDòng ba");
}
