// The client's forms against the local portal stub, as a player fills them: each shows its
// fields empty when it opens (the locked board's password, the registration), the sign-in
// form remembers the account a registration opened (not one refused), even after a
// restart, and Return in a form's last field presses its button (the go-to-board sheet's
// password).
#include "app/KavoOnlineAppDelegate.h"
#include "app/Text.h"
#include "app/UIController.h"
#include "lobby/LoginView.h"
#include "lobby/LoginView_SubLoginView.h"
#include "lobby/LoginView_SubRegisterView.h"
#include "lobby/ServerView.h"
#include "platform/automation/ViewQuery.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Application.h"
#include "platform/ui/TextField.h"
#include "portal/GlobalService.h"
#include "tests/e2e/ChildProcess.h"
#include "tests/e2e/StubDrive.h"
#include "tests/support/client/ClientTestSupport.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <utility>

using namespace kavo;
using namespace kavo::test;

namespace {

namespace ui = platform::ui;

class FormsOnTheStub : public StubDriveFixture {
protected:
    static std::string signIn(const std::string& user) {
        return "screen LoginView\nadvance 0.1\ntap id=btnSignIn_Clicked\ntype id=txfUsername " + user +
               "\ntype id=txfPassword 123\ntap id=btnSignIn\nwait text=Stub\ntap text=Stub\n";
    }
    // Signed in, on Tien Len's board list with the stub's boards shown (board 3, 1000 zel,
    // is locked with the password "kavo").
    ::testing::AssertionResult onTheBoardList() {
        launch();
        return drives(signIn("khach") + "screen GameView 30\nadvance 0.5\ntap id=btnTLMN\nscreen BoardView 30\n"
                                        "advance 0.5\nwait text=1.000 zel 30\n");
    }
    // The shown text field with that identifier (nullptr when none).
    static ui::TextField* shownField(const std::string& id) {
        auto selector = platform::automation::Selector::parse("id=" + id);
        return selector ? dynamic_cast<ui::TextField*>(platform::automation::ViewQuery::find(*selector)) : nullptr;
    }
    // Typing as a keyboard does, into the field that has the focus: nothing is deleted first.
    static void typeOnTheKeyboard(const std::string& text) { ui::Application::shared().dispatchText(text); }
    static void press(ui::Key key) { ui::Application::shared().dispatchKey(key); }
    static std::shared_ptr<LoginView> loginScreen() {
        return std::dynamic_pointer_cast<LoginView>(KavoOnlineAppDelegate::getInstance().topViewController());
    }
    // This machine remembered "khach" before, with the remember switch as given.
    static void rememberOnThisMachine(bool switchOn) {
        auto& defaults = platform::UserDefaults::standard();
        defaults.setBool(true, LoginView_SubLoginView::kFirstTimeRunKey);
        defaults.setBool(switchOn, LoginView_SubLoginView::kSavedNextLoginKey);
        defaults.setString("khach", LoginView_SubLoginView::kUnameKey);
        defaults.setString(switchOn ? "123" : "", LoginView_SubLoginView::kPasswordKey);
    }
    // From the log-in screen: the registration form filled and sent, up to the stub's answer
    // (its spinner gone).
    ::testing::AssertionResult registerOnTheStub(const std::string& name, const std::string& password) {
        const auto sent = drives("tap id=btnRegister_Clicked\ntype id=txfUsername " + name + "\ntype id=txfPassword " +
                                 password + "\ntype id=txfRetypePwd " + password + "\ntap id=btnRegister\n");
        if (!sent) return sent;
        auto form = loginScreen() ? loginScreen()->logSubRegisterView() : nullptr;
        if (!form) return ::testing::AssertionFailure() << "no registration form";
        const auto waiting = [&form] {
            for (const auto& subview : form->subviews())
                if (std::dynamic_pointer_cast<ui::ActivityIndicatorView>(subview)) return true;
            return false;
        };
        if (!platform::RunLoop::main().runUntil([&] { return !waiting(); }, kStateWait))
            return ::testing::AssertionFailure() << "the stub never answered\n" << log();
        return ::testing::AssertionSuccess();
    }
    static bool signInFormShows() {
        const auto screen = loginScreen();
        return screen && screen->logSubLoginView() && screen->logSubLoginView()->window();
    }
    using Account = std::pair<std::string, std::string>;
    // The name and password the sign-in form shows.
    static Account signInFields() {
        const auto form = loginScreen() ? loginScreen()->logSubLoginView() : nullptr;
        return form ? Account{form->txfUsername()->text(), form->txfPassword()->text()} : Account{};
    }
};

// A wrong password is refused; the sheet shows again empty, so the right one typed as it
// opens seats the player (never "wrongkavo").
TEST_F(FormsOnTheStub, TheLockedBoardTakesTheRightPasswordAfterAWrongOne) {
    ASSERT_TRUE(onTheBoardList());
    for (const std::string password : {"wrong", "kavo"}) {
        SCOPED_TRACE(password);
        ASSERT_TRUE(drives("tap text=1.000 zel\nadvance 0.5\nwait id=txtPassword\n"));
        ui::TextField* field = shownField("txtPassword");
        ASSERT_TRUE(field);
        EXPECT_EQ(field->text(), "") << "the sheet shows an empty field";
        EXPECT_TRUE(field->isFirstResponder()) << "and focuses it";
        typeOnTheKeyboard(password);
        press(ui::Key::Return);
        if (password == "wrong") {
            ASSERT_TRUE(drives("wait text=Sai mật khẩu bàn 30\n"));
            UIController::closeDialog();
            ASSERT_TRUE(drives("advance 0.5\nscreen BoardView 30\n"));
        }
    }
    EXPECT_TRUE(drives("screen TienLenView 30\n"));
}

// Return in the go-to-board sheet's last field (the password) presses its search button, as
// in every form: the locked board seats the player.
TEST_F(FormsOnTheStub, ReturnInTheGoToBoardPasswordJoinsTheBoard) {
    ASSERT_TRUE(onTheBoardList());
    ASSERT_TRUE(drives("tap id=btnGotoBoard\nadvance 0.5\ntype id=txtRoom 1\ntype id=txtBoard 3\n"
                       "type id=txtPass kavo\n"));
    press(ui::Key::Return);
    EXPECT_TRUE(drives("screen TienLenView 30\n"));
}

// A free name registered: the filled sign-in form shows in the registration form's place;
// closed with Escape and opened again ("Đăng nhập"), it holds the new account, which took
// the place of the one remembered before. The registration form opens empty, so the same
// name typed again reaches the stub as it was typed, with another password: taken now, it
// leaves the remembered account as it was.
TEST_F(FormsOnTheStub, ANewAccountIsTheRememberedOneAndATakenNameChangesNothing) {
    rememberOnThisMachine(true);
    launch();
    ASSERT_TRUE(drives("screen LoginView\nadvance 0.1\n"));
    ASSERT_TRUE(registerOnTheStub("hoa9", "matkhau9"));
    ASSERT_TRUE(platform::RunLoop::main().runUntil(signInFormShows, kStateWait)) << log();
    press(ui::Key::Escape);
    ASSERT_FALSE(signInFormShows()) << "Escape closes the sign-in form";
    ASSERT_TRUE(drives("tap id=btnSignIn_Clicked\n"));
    EXPECT_EQ(signInFields(), (Account{"hoa9", "matkhau9"})) << "the form opened again";
    press(ui::Key::Escape);

    ASSERT_TRUE(drives("tap id=btnRegister_Clicked\n"));
    auto form = loginScreen()->logSubRegisterView();
    for (const auto& field : {form->txfUsername(), form->txfPassword(), form->txfRetypePwd()})
        EXPECT_EQ(field->text(), "") << field->accessibilityIdentifier();
    for (const auto& [field, typed] :
         {std::pair{"txfUsername", "hoa9"}, {"txfPassword", "khac"}, {"txfRetypePwd", "khac"}}) {
        ASSERT_TRUE(drives(std::string("tap id=") + field + "\n"));
        typeOnTheKeyboard(typed);
    }
    press(ui::Key::Return);
    EXPECT_TRUE(drives("wait text=" + text("KAVO_gameIDAlreadyUsed") + " 30\n")) << "the stub heard hoa9 again";
    UIController::closeDialog();
    press(ui::Key::Escape);

    ASSERT_TRUE(drives("tap id=btnSignIn_Clicked\n"));
    EXPECT_EQ(signInFields(), (Account{"hoa9", "matkhau9"}));
}

// The new account outlives the client: started again on the same data folder, its sign-in
// form holds the account when the remember switch is on, and nothing when it is off (no
// password of it is kept then).
class NewAccountAfterARestart : public FormsOnTheStub, public ::testing::WithParamInterface<bool> {};

TEST_P(NewAccountAfterARestart, TheSignInFormHoldsItWhenTheSwitchSaysSo) {
    const bool remember = GetParam();
    rememberOnThisMachine(remember);
    launch();
    ASSERT_TRUE(drives("screen LoginView\nadvance 0.1\n"));
    ASSERT_TRUE(registerOnTheStub("hoa9", "matkhau9"));
    ASSERT_TRUE(platform::RunLoop::main().runUntil(signInFormShows, kStateWait)) << log();
    auto& defaults = platform::UserDefaults::standard();
    ASSERT_TRUE(defaults.flush());
    EXPECT_EQ(defaults.stringForKey(LoginView_SubLoginView::kUnameKey), "hoa9");
    EXPECT_EQ(defaults.stringForKey(LoginView_SubLoginView::kPasswordKey), remember ? "matkhau9" : "");

    // The client again, in a process of its own, on the same folder.
    const std::string script = dataPath() + "/again.drive";
    std::ofstream(script) << "screen LoginView 30\ntap id=btnSignIn_Clicked\n"
                          << (remember ? "expect text=hoa9\nexpect text=matkhau9\n"
                                       : "expect-not text=hoa9\nexpect-not text=khach\n");
    const std::string errors = dataPath() + "/again-stderr.txt";
    ChildProcess again;
    ASSERT_TRUE(again.start({KAVO_ONLINE, "--headless", "--bundle", ClientWorld::get().bundlePath(), "--data-dir",
                             dataPath(), "--drive", script},
                            {{"SDL_AUDIODRIVER", "dummy"}, {"SDL_VIDEODRIVER", "dummy"}}, false, errors));
    const auto status = again.wait(2 * kStateWait);
    std::ifstream in(errors);
    std::stringstream told;
    told << in.rdbuf();
    ASSERT_TRUE(status.has_value()) << told.str();
    EXPECT_EQ(*status, 0) << "the script's checks, on the standard output above\n" << told.str();
}

INSTANTIATE_TEST_SUITE_P(Switch, NewAccountAfterARestart, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "On" : "Off"; });

// A registration the stub opens puts the sign-in form in the registration form's place,
// filled with the new account: the player sees he has it, and its button and the server
// sign him in as that player.
TEST_F(FormsOnTheStub, AnOpenedRegistrationShowsTheSignInFormFilledWithTheNewAccount) {
    launch();
    ASSERT_TRUE(drives("screen LoginView\nadvance 0.1\n"));
    ASSERT_TRUE(registerOnTheStub("tam7", "bi7"));
    ASSERT_TRUE(platform::RunLoop::main().runUntil(signInFormShows, kStateWait)) << log();
    EXPECT_EQ(signInFields(), (Account{"tam7", "bi7"}));
    EXPECT_EQ(loginScreen()->logSubRegisterView()->superview(), nullptr) << "the registration form made way";
    EXPECT_EQ(UIController::currentDialog(), nullptr) << "nothing covers the form";

    ASSERT_TRUE(drives("tap id=btnSignIn\nwait text=Stub 30\ntap text=Stub\nscreen GameView 30\n"));
    ASSERT_TRUE(UIController::myInfo());
    EXPECT_EQ(UIController::myInfo()->name(), "tam7");
}

// Signed out from the settings, the player finds the sign-in form he signed in with, and no
// server left one tap away from signing him in again.
TEST_F(FormsOnTheStub, SignedOutThePlayerFindsTheSignInFormWithoutTheServerChoice) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.setBool(true, LoginView_SubLoginView::kFirstTimeRunKey);
    defaults.setBool(true, LoginView_SubLoginView::kSavedNextLoginKey);
    launch();
    ASSERT_TRUE(drives(signIn("khach") +
                       "screen GameView 30\nadvance 0.5\ntap id=clickSetting\nadvance 0.5\n"
                       "tap text=" +
                       text("KAVO_logout") + "\nscreen LoginView 30\nadvance 1\n"));
    const auto sheet = ServerView::getInstance();
    EXPECT_EQ(sheet->view()->window(), nullptr) << "the server choice is gone";
    const auto form = loginScreen()->logSubLoginView();
    ASSERT_TRUE(form && form->window()) << "the sign-in form shows";
    EXPECT_EQ(form->txfUsername()->text(), "khach") << "remembered, as the player asked";
    EXPECT_FALSE(GlobalService::isConnected());
}

} // namespace
