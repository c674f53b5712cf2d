// The money-transfer sheet: its checks, what it sends and that it always closes.
#include "account/TransferMoneyView.h"

#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "lobby/GameView.h"
#include "platform/ui/Application.h"
#include "tests/account/support/AccountTestSupport.h"
#include "tests/support/client/OpenDialog.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

class TransferSheet : public AccountScreenFixture {
protected:
    void SetUp() override {
        AccountScreenFixture::SetUp();
        screen_ = push(std::make_shared<GameView>());
        recorder_.clear();
        sheet_ = std::make_shared<TransferMoneyView>();
        screen_->view()->addSubview(sheet_->view());
        sheet_->viewWillAppear(false);
        advance(0.5);
    }
    void send(const std::string& name, const std::string& amount) {
        sheet_->txtName()->setText(name);
        sheet_->txtMoney()->setText(amount);
        sheet_->doSendMoney();
        advance(0.5);
    }
    bool sheetOpen() const { return sheet_->view()->superview() != nullptr; }

    std::shared_ptr<GameView> screen_;
    std::shared_ptr<TransferMoneyView> sheet_;
};

TEST_F(TransferSheet, OpensWithEmptyFieldsRaisedAboveTheKeyboard) {
    EXPECT_TRUE(sheetOpen());
    EXPECT_EQ(sheet_->txtName()->text(), "");
    EXPECT_EQ(sheet_->txtMoney()->text(), "");
    EXPECT_TRUE(sheet_->txtName()->isFirstResponder());
    EXPECT_TRUE(sheet_->isModed());
    EXPECT_DOUBLE_EQ(sheet_->actionSheetView()->frame().y(), 10);
}

struct Refusal {
    const char* name;
    const char* amount;
    const char* warning;
};

TEST_F(TransferSheet, MissingOrSmallAmountsWarnSendNothingAndClose) {
    const Refusal cases[] = {{"", "20000", "KAVO_LottoGeneralWarning"},
                             {"an", "", "KAVO_LottoGeneralWarning"},
                             {"an", "9999", "KAVO_MoneyTransfer_Warning"},
                             {"an", "-5", "KAVO_MoneyTransfer_Warning"},
                             {"an", "abc", "KAVO_MoneyTransfer_Warning"}};
    for (const Refusal& refusal : cases) {
        screen_->view()->addSubview(sheet_->view());
        sheet_->viewWillAppear(false);
        send(refusal.name, refusal.amount);
        EXPECT_EQ(dialogText(), text(refusal.warning)) << refusal.name << " / " << refusal.amount;
        EXPECT_EQ(openDialogCode(), UIController::kActionNone);
        EXPECT_FALSE(sheetOpen()) << refusal.amount;
        closeDialog();
    }
    EXPECT_TRUE(bodies(17).empty());
}

struct Sent {
    const char* amount;
    int32_t value;
};

TEST_F(TransferSheet, AmountsFromTenThousandAreSentAsTheirLeadingNumber) {
    const Sent cases[] = {{"10000", 10000}, {"15000abc", 15000}, {" 20000", 20000}, {"99999999999", 2147483647}};
    for (const Sent& sent : cases) {
        screen_->view()->addSubview(sheet_->view());
        sheet_->viewWillAppear(false);
        recorder_.clear();
        send("binh", sent.amount);
        EXPECT_EQ(bodies(17), std::vector<ByteVector>{Bytes().utf("binh").int32(sent.value).data()}) << sent.amount;
        EXPECT_FALSE(sheetOpen());
    }
}

TEST_F(TransferSheet, ReturnMovesFromTheNameToTheAmountThenSends) {
    auto& app = platform::ui::Application::shared();
    sheet_->txtName()->setText("an");
    app.dispatchKey(platform::ui::Key::Return);
    EXPECT_TRUE(sheet_->txtMoney()->isFirstResponder());
    sheet_->txtMoney()->setText("12000");
    app.dispatchKey(platform::ui::Key::Return);
    advance(0.5);
    EXPECT_EQ(bodies(17), std::vector<ByteVector>{Bytes().utf("an").int32(12000).data()});
    EXPECT_FALSE(sheetOpen());
}

TEST_F(TransferSheet, HidingTheKeyboardClosesWithoutSending) {
    sheet_->txtName()->setText("an");
    sheet_->txtMoney()->setText("50000");
    sheet_->txtName()->resignFirstResponder();
    advance(0.5);
    EXPECT_FALSE(sheetOpen());
    EXPECT_TRUE(bodies(17).empty());
}

TEST_F(TransferSheet, TheAnswerSetsTheMoneyAndShowsItsText) {
    reply(17, Bytes().int64(38000).utf("Đã chuyển"));
    EXPECT_EQ(UIController::myInfo()->money(), 38000);
    EXPECT_EQ(dialogText(), "Đã chuyển");
}

} // namespace
} // namespace kavo::test
