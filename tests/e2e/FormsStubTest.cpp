// The client's forms against the local portal stub, as a player fills them: a form shows
// its fields empty when it opens (the locked board's password), and Return in a form's last
// field presses its button (the go-to-board sheet's password).
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "lobby/LoginView.h"
#include "lobby/LoginView_SubLoginView.h"
#include "lobby/LoginView_SubRegisterView.h"
#include "platform/automation/ViewQuery.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Application.h"
#include "platform/ui/TextField.h"
#include "tests/e2e/StubProcess.h"
#include "tests/support/client/ClientTestSupport.h"

#include <gtest/gtest.h>
#include <string>

using namespace kavo;
using namespace kavo::test;

namespace {

namespace ui = platform::ui;

class FormsOnTheStub : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        ASSERT_TRUE(stub_.ready()) << "the stub did not start";
        storeServerList("Stub|127.0.0.1:" + std::to_string(stub_.port()));
    }
    static std::string signIn(const std::string& user) {
        return "screen LoginView\nadvance 0.1\ntap id=btnSignIn_Clicked\ntype id=txfUsername " + user +
               "\ntype id=txfPassword 123\ntap id=btnSignIn\nwait text=Stub\ntap text=Stub\n";
    }
    // Signed in, on Tien Len's board list with the stub's boards shown (board 3, 1000 zel,
    // is locked with the password "kavo").
    ::testing::AssertionResult onTheBoardList() {
        launch();
        return drives(signIn("khach") + "screen GameView 10\nadvance 0.5\ntap id=btnTLMN\nscreen BoardView 10\n"
                                        "advance 0.5\nwait text=1000 zel 10\n");
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
    StubProcess stub_;
};

// A wrong password is refused; the sheet shows again empty, so the right one typed as it
// opens seats the player (never "wrongkavo").
TEST_F(FormsOnTheStub, TheLockedBoardTakesTheRightPasswordAfterAWrongOne) {
    ASSERT_TRUE(onTheBoardList());
    for (const std::string password : {"wrong", "kavo"}) {
        SCOPED_TRACE(password);
        ASSERT_TRUE(drives("tap text=1000 zel\nadvance 0.5\nwait id=txtPassword\n"));
        ui::TextField* field = shownField("txtPassword");
        ASSERT_TRUE(field);
        EXPECT_EQ(field->text(), "") << "the sheet shows an empty field";
        EXPECT_TRUE(field->isFirstResponder()) << "and focuses it";
        typeOnTheKeyboard(password);
        press(ui::Key::Return);
        if (password == "wrong") {
            ASSERT_TRUE(drives("wait text=Sai mật khẩu bàn 10\n"));
            UIController::closeDialog();
            ASSERT_TRUE(drives("advance 0.5\nscreen BoardView 1\n"));
        }
    }
    EXPECT_TRUE(drives("screen TienLenView 10\n"));
}

// Return in the go-to-board sheet's last field (the password) presses its search button, as
// in every form: the locked board seats the player.
TEST_F(FormsOnTheStub, ReturnInTheGoToBoardPasswordJoinsTheBoard) {
    ASSERT_TRUE(onTheBoardList());
    ASSERT_TRUE(drives("tap id=btnGotoBoard\nadvance 0.5\ntype id=txtRoom 1\ntype id=txtBoard 3\n"
                       "type id=txtPass kavo\n"));
    press(ui::Key::Return);
    EXPECT_TRUE(drives("screen TienLenView 10\n"));
}

} // namespace
