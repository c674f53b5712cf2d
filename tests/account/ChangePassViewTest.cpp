// The password change sheet: its two checks, what it sends, and that it always closes.
#include "account/ChangePassView.h"

#include "lobby/GameView.h"
#include "platform/ui/Application.h"
#include "tests/account/support/AccountTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

class ChangePassword : public AccountScreenFixture {
protected:
    void SetUp() override {
        AccountScreenFixture::SetUp();
        grid_ = push(std::make_shared<GameView>());
        recorder_.clear();
        open();
    }
    void open() {
        sheet_ = std::make_shared<ChangePassView>();
        grid_->view()->addSubview(sheet_->view());
        sheet_->viewWillAppear(false);
        advance(0.3);
    }
    void fill(const std::string& oldPass, const std::string& newPass, const std::string& again) {
        sheet_->txtOldPass()->setText(oldPass);
        sheet_->txtNewPass()->setText(newPass);
        sheet_->txtConfirmNewPass()->setText(again);
    }
    bool open_() const { return sheet_->view()->superview() != nullptr; }

    std::shared_ptr<GameView> grid_;
    std::shared_ptr<ChangePassView> sheet_;
};

TEST_F(ChangePassword, OpensWithTheOldPasswordFieldTakingTheKeyboard) {
    EXPECT_TRUE(sheet_->txtOldPass()->isFirstResponder());
    EXPECT_EQ(sheet_->txtConfirmNewPass()->placeholder(), text("KAVO_reTypePass"));
    EXPECT_FALSE(sheet_->isModed());
}

TEST_F(ChangePassword, AnEmptyOldPasswordClosesSilently) {
    fill("", "a", "a");
    sheet_->onChangePass();
    advance(0.5);
    EXPECT_FALSE(open_());
    EXPECT_EQ(dialogText(), "");
    EXPECT_TRUE(bodies(1003).empty());
}

TEST_F(ChangePassword, AMismatchOrNothingNewIsRefusedAndSendsNothing) {
    for (const auto& [newPass, again] : {std::pair<const char*, const char*>{"abc", "abd"}, {"", ""}}) {
        fill("old", newPass, again);
        sheet_->onChangePass();
        advance(0.5);
        EXPECT_EQ(dialogText(), text("KAVO_invalidNewPass"));
        EXPECT_FALSE(open_());
        closeDialog();
        open();
    }
    EXPECT_TRUE(bodies(1003).empty());
}

TEST_F(ChangePassword, AMatchSendsOldAndNewEvenWhenTheyAreTheSame) {
    fill("same", "same", "same");
    sheet_->onChangePass();
    advance(0.5);
    EXPECT_EQ(bodies(1003), std::vector<ByteVector>{Bytes().utf("same").utf("same").data()});
    EXPECT_FALSE(open_());
}

TEST_F(ChangePassword, ReturnWalksTheFieldsAndSubmitsFromTheRepetition) {
    fill("cu", "moi", "moi");
    auto& app = platform::ui::Application::shared();
    app.dispatchKey(platform::ui::Key::Return);
    EXPECT_TRUE(sheet_->txtNewPass()->isFirstResponder());
    app.dispatchKey(platform::ui::Key::Return);
    EXPECT_TRUE(sheet_->txtConfirmNewPass()->isFirstResponder());
    app.dispatchKey(platform::ui::Key::Return);
    advance(0.5);
    EXPECT_EQ(bodies(1003), std::vector<ByteVector>{Bytes().utf("cu").utf("moi").data()});
}

TEST_F(ChangePassword, HidingTheKeyboardClosesWithoutSending) {
    fill("cu", "moi", "moi");
    sheet_->txtOldPass()->resignFirstResponder();
    advance(0.5);
    EXPECT_FALSE(open_());
    EXPECT_TRUE(bodies(1003).empty());
}

TEST_F(ChangePassword, TheAnswerGivesItsText) {
    reply(1003, Bytes().boolean(true));
    EXPECT_EQ(dialogText(), text("KAVO_changePassSuccess"));
    closeDialog();
    reply(1003, Bytes().boolean(false));
    EXPECT_EQ(dialogText(), text("KAVO_changePassUnSuccess"));
}

} // namespace
} // namespace kavo::test
