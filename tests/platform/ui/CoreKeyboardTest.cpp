#include "CoreTestSupport.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/ui/Keyboard.h"
#include "platform/ui/Screen.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

using namespace platform::ui;

namespace {

// A minimal text input: takes the keyboard and keeps what is typed.
class Input : public View {
public:
    using View::View;
    bool canBecomeFirstResponder() const override { return true; }
    bool isTextInput() const override { return true; }
    void insertText(const std::string& t) override { typed += t; }
    void deleteBackward() override {
        if (!typed.empty()) typed.pop_back();
    }
    void pressReturn() override { resignFirstResponder(); }
    std::string typed;
};

// Takes key input without bringing the keyboard up.
class KeyTaker : public View {
public:
    using View::View;
    bool canBecomeFirstResponder() const override { return true; }
};

} // namespace

class KeyboardTest : public CoreUiTest {
protected:
    void SetUp() override {
        CoreUiTest::SetUp();
        auto& center = platform::NotificationCenter::defaultCenter();
        for (const char* name : {Keyboard::WillShowNotification, Keyboard::DidShowNotification,
                                 Keyboard::WillHideNotification, Keyboard::DidHideNotification}) {
            tokens.push_back(center.addObserver(name, [this](const platform::Notification& n) {
                posted.push_back(n.name);
                frames.push_back(Keyboard::frameFromUserInfo(n.userInfo));
            }));
        }
        window = Window::make();
        window->makeKeyAndVisible();
        first = std::make_shared<Input>(Rect{10, 10, 100, 30});
        second = std::make_shared<Input>(Rect{10, 50, 100, 30});
        window->addSubview(first);
        window->addSubview(second);
    }
    void TearDown() override {
        for (auto token : tokens)
            platform::NotificationCenter::defaultCenter().removeObserver(token);
        CoreUiTest::TearDown();
    }
    std::vector<platform::NotificationCenter::Token> tokens;
    std::vector<std::string> posted;
    std::vector<Rect> frames;
    std::shared_ptr<Window> window;
    std::shared_ptr<Input> first, second;
};

TEST_F(KeyboardTest, TextInputBringsTheKeyboardUpWithItsFrame) {
    EXPECT_TRUE(first->becomeFirstResponder());
    EXPECT_EQ(posted, (std::vector<std::string>{"KeyboardWillShowNotification", "KeyboardDidShowNotification"}));
    EXPECT_EQ(frames.front(), Rect(0, 158, 480, 162));
    EXPECT_TRUE(Keyboard::isVisible());
    EXPECT_EQ(Responder::firstResponder(), first.get());

    posted.clear();
    first->resignFirstResponder();
    EXPECT_EQ(posted, (std::vector<std::string>{"KeyboardWillHideNotification", "KeyboardDidHideNotification"}));
    EXPECT_FALSE(Keyboard::isVisible());
    EXPECT_EQ(Responder::firstResponder(), nullptr);
}

TEST_F(KeyboardTest, TabletKeyboardIsTaller) {
    Screen::setIdiom(Idiom::Tablet);
    first->becomeFirstResponder();
    EXPECT_EQ(frames.front(), Rect(0, 416, 1024, 352));
}

TEST_F(KeyboardTest, MovingBetweenFieldsKeepsTheKeyboardUp) {
    first->becomeFirstResponder();
    posted.clear();
    second->becomeFirstResponder();
    EXPECT_TRUE(posted.empty());
    EXPECT_FALSE(first->isFirstResponder());
    EXPECT_TRUE(second->isFirstResponder());

    // A responder that is not a text input sends the keyboard down.
    auto keys = std::make_shared<KeyTaker>(Rect{0, 0, 10, 10});
    window->addSubview(keys);
    keys->becomeFirstResponder();
    EXPECT_EQ(posted, (std::vector<std::string>{"KeyboardWillHideNotification", "KeyboardDidHideNotification"}));
}

TEST_F(KeyboardTest, TypedTextAndKeysGoToTheFirstResponder) {
    auto& app = Application::shared();
    app.dispatchText("ignored"); // nobody is first yet
    first->becomeFirstResponder();
    app.dispatchText("Xin ");
    app.dispatchText("chào");
    app.dispatchKey(Key::Backspace);
    EXPECT_EQ(first->typed, "Xin chà");
    app.dispatchKey(Key::Tab);
    EXPECT_TRUE(second->isFirstResponder());
    app.dispatchKey(Key::Tab);
    EXPECT_TRUE(first->isFirstResponder()); // round to the first again
    app.dispatchKey(Key::Return);
    EXPECT_EQ(Responder::firstResponder(), nullptr);
}

TEST_F(KeyboardTest, RemovingTheEditedFieldPutsTheKeyboardAway) {
    second->becomeFirstResponder();
    posted.clear();
    second->removeFromSuperview();
    EXPECT_FALSE(second->isFirstResponder());
    EXPECT_EQ(posted.front(), "KeyboardWillHideNotification");
}

TEST_F(KeyboardTest, DestroyedFirstResponderIsForgotten) {
    {
        auto temp = std::make_shared<Input>(Rect{0, 0, 10, 10});
        temp->becomeFirstResponder();
    }
    EXPECT_EQ(Responder::firstResponder(), nullptr);
    Application::shared().dispatchText("x"); // must not reach freed memory
}

TEST_F(KeyboardTest, ADesktopWindowHasNoOnScreenKeyboardSoNothingIsAnnounced) {
    Keyboard::setModel(KeyboardModel::None);
    EXPECT_TRUE(first->becomeFirstResponder());
    EXPECT_EQ(Responder::firstResponder(), first.get()) << "the field still takes the keys";
    EXPECT_TRUE(posted.empty());
    EXPECT_FALSE(Keyboard::isVisible());
    EXPECT_EQ(Keyboard::height(), 0);
    first->resignFirstResponder();
    EXPECT_TRUE(posted.empty());

    // Back on a device: the keyboard comes up again.
    Keyboard::setModel(KeyboardModel::OnScreen);
    first->becomeFirstResponder();
    EXPECT_EQ(posted, (std::vector<std::string>{"KeyboardWillShowNotification", "KeyboardDidShowNotification"}));
}

TEST_F(KeyboardTest, SwitchingToNoKeyboardWhileOneIsUpPutsItAway) {
    first->becomeFirstResponder();
    posted.clear();
    Keyboard::setModel(KeyboardModel::None);
    EXPECT_EQ(posted, (std::vector<std::string>{"KeyboardWillHideNotification", "KeyboardDidHideNotification"}));
    EXPECT_FALSE(Keyboard::isVisible());
}
