// The top-up panel and the scratch-card form, driven on the game grid of a signed-in
// client against the test portal.
#include "account/PendingReceipts.h"
#include "account/TopupActions.h"
#include "account/TopupZelByCardView.h"
#include "account/TopupZelView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "platform/foundation/TextFormat.h"
#include "platform/services/SmsComposer.h"
#include "tests/account/ShopTestSupport.h"
#include "tests/support/DesktopClick.h"
#include "tests/support/client/OpenDialog.h"

using namespace kavo;
using namespace kavo::test;
namespace ui = platform::ui;

namespace {

class TopupPanel : public ShopFixture {
protected:
    std::shared_ptr<TopupZelView> panel;

    // Opens the panel as the dialog action 9 does and gives it the channels.
    void openPanel() {
        signIn();
        UIController::startCancelOkDlg("?", text("KAVO_cancel"), text("KAVO_OK"), {UIController::kActionTopUp});
        UIController::pressOk();
        UIController::closeDialog();
        ASSERT_TRUE(waitFor(44, 1));
        panel = findPanel();
        ASSERT_NE(panel, nullptr);
        reply(channelList(), [this] { return panel->listMoney().size() == 6; });
    }
    static std::shared_ptr<TopupZelView> findPanel() {
        auto top = KavoOnlineAppDelegate::getInstance().topViewController();
        for (const auto& subview : top->view()->subviews())
            if (auto found = std::dynamic_pointer_cast<TopupZelView>(subview)) return found;
        return nullptr;
    }
    // Buys the row and returns the receipt that went to the server.
    std::string buy(const std::string& row, size_t sentBefore) {
        auto result = drive("tap text=" + row + "\n");
        EXPECT_TRUE(result.ok) << result.message;
        EXPECT_TRUE(waitFor(71, sentBefore + 1));
        const auto body = bodies(71).back();
        if (body.size() < 3 || body[0] != 5) return "";
        return std::string(body.begin() + 3, body.end());
    }
};

TEST_F(TopupPanel, TheChannelListFillsTheOpenPanel) {
    openPanel();
    EXPECT_EQ(bodies(44), std::vector<std::vector<uint8_t>>(1));
    auto result = drive("wait text=Nap SMS\nexpect text=Thẻ gate\nexpect text=Goi 50000\n");
    EXPECT_TRUE(result.ok) << result.message;
}

TEST_F(TopupPanel, AnSmsRowShowsTheSyntaxWithoutAComposerAndSendsWithOne) {
    openPanel();
    ASSERT_DRIVE("tap text=Nap SMS\n");
    EXPECT_EQ(dialogText(), platform::formatText(text("KAVO_syntaxSMS1"), {"KAVO NAP an", "8777"}));
    EXPECT_TRUE(platform::SmsComposer::requests().empty());

    UIController::closeDialog();
    platform::SmsComposer::setTestResult(platform::SmsResult::Sent);
    ASSERT_DRIVE("tap text=Nap SMS\n");
    ASSERT_TRUE(waitFor(57, 1));
    runPosted();
    ASSERT_EQ(platform::SmsComposer::requests().size(), 1u);
    EXPECT_EQ(platform::SmsComposer::requests()[0].body, "KAVO NAP an");
    std::vector<uint8_t> expected = utf("KAVO NAP an");
    const auto to = utf("8777");
    expected.insert(expected.end(), to.begin(), to.end());
    EXPECT_EQ(bodies(57).front(), expected);
    EXPECT_EQ(dialogText(), text("KAVO_sendMessageSuccess"));
}

TEST_F(TopupPanel, AStoreRowBuysAndSendsItsReceiptOnceThenTheAnswerCreditsAndClearsIt) {
    openPanel();
    const std::string receipt = buy("Goi 20000", 0);
    ASSERT_FALSE(receipt.empty());
    ASSERT_TRUE(portalCaughtUp());
    EXPECT_EQ(bodies(71).size(), 1u) << "exactly one receipt leaves";
    EXPECT_EQ(PendingReceipts::receiptsOf("an"), std::vector<std::string>{receipt});

    reply(purchaseAnswer(1, "Nap thanh cong", receipt, 300000), [] { return myMoney() == 300000; });
    EXPECT_EQ(dialogText(), "Nap thanh cong");
    EXPECT_TRUE(PendingReceipts::entries().empty()) << "cleared as the answer arrives";
    EXPECT_EQ(openDialogCode(), UIController::kActionPurchaseConfirmed);
    UIController::pressOk();
    EXPECT_TRUE(panel->isUserInteractionEnabled());
}

TEST_F(TopupPanel, TwoAnswersInARowEachClearTheirOwnReceiptAndARefusalKeepsIt) {
    openPanel();
    const std::string first = buy("Goi 20000", 0);
    const std::string second = buy("Goi 50000", 1);
    const std::string third = buy("Goi 50000", 2);
    ASSERT_EQ(PendingReceipts::entries().size(), 3u);
    ASSERT_TRUE(portal().sendToClient(purchaseAnswer(1, "mot", first, 120000)));
    ASSERT_TRUE(portal().sendToClient(purchaseAnswer(2, "hai", second, 140000)));
    reply(purchaseAnswer(0, "Loi the", third, 0), [] { return dialogText() == "Loi the"; });
    EXPECT_EQ(myMoney(), 140000) << "a refusal leaves the money";
    EXPECT_EQ(PendingReceipts::receiptsOf("an"), std::vector<std::string>{third});
}

TEST_F(TopupPanel, PendingReceiptsOfThePlayerAreSentAgainAfterSignIn) {
    PendingReceipts::append("an;Goi 20000;QUJD;Jan 01, 2024 00:00");
    PendingReceipts::append("bo;Goi 20000;WFla;Jan 01, 2024 00:00");
    signIn(true);
    ASSERT_TRUE(waitFor(71, 1));
    ASSERT_TRUE(portalCaughtUp());
    std::vector<uint8_t> expected{5};
    const auto field = utf("QUJD");
    expected.insert(expected.end(), field.begin(), field.end());
    EXPECT_EQ(bodies(71), std::vector<std::vector<uint8_t>>{expected});
}

TEST_F(TopupPanel, EachPendingReceiptGoesOnceAndARefusalOfOneSentAgainShowsNoDialog) {
    // A restore recorded QUJD twice; a refusal of it was shown in an earlier session.
    PendingReceipts::append("an;Goi 20000;QUJD;Jan 01, 2024 00:00");
    PendingReceipts::append("an;Goi 50000;WFla;Jan 02, 2024 00:00");
    PendingReceipts::append("an;Goi 20000;QUJD;Jan 03, 2024 00:00");
    signIn(true);
    ASSERT_TRUE(waitFor(71, 2));
    ASSERT_TRUE(portalCaughtUp());
    std::vector<uint8_t> first{5}, second{5};
    for (auto [body, receipt] : {std::pair{&first, "QUJD"}, std::pair{&second, "WFla"}}) {
        const auto field = utf(receipt);
        body->insert(body->end(), field.begin(), field.end());
    }
    EXPECT_EQ(bodies(71), (std::vector<std::vector<uint8_t>>{first, second})) << "each distinct receipt once";

    ASSERT_TRUE(portal().sendToClient(purchaseAnswer(0, "The da dung", "QUJD", 0)));
    ASSERT_TRUE(clientCaughtUp());
    EXPECT_EQ(dialogText(), "") << "the refusal was shown when it first came";
    EXPECT_EQ(myMoney(), ClientWorld::kPlayerMoney);
    EXPECT_EQ(PendingReceipts::receiptsOf("an"), (std::vector<std::string>{"QUJD", "WFla", "QUJD"}))
        << "kept until the server confirms it";

    reply(purchaseAnswer(2, "Da cong tien", "WFla", 175000), [] { return myMoney() == 175000; });
    EXPECT_EQ(dialogText(), "Da cong tien");
    EXPECT_EQ(PendingReceipts::receiptsOf("an"), (std::vector<std::string>{"QUJD", "QUJD"}));
    UIController::closeDialog();

    // A refusal of a purchase made now is still shown.
    ASSERT_TRUE(portal().sendToClient(purchaseAnswer(0, "Loi the", "QUJD", 0)));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return dialogText() == "Loi the"; }, 30));
}

TEST_F(TopupPanel, APurchaseWhoseRowLeftAShorterListSendsNothing) {
    signIn();
    std::vector<std::shared_ptr<ChargeMoneyInfo>> rows;
    for (int i = 0; i < 3; ++i) {
        rows.push_back(std::make_shared<ChargeMoneyInfo>(TopupActions::kStore));
        rows.back()->setSubId(int8_t(i));
    }
    platform::Notification purchased;
    purchased.userInfo = platform::Value::emptyDictionary();
    purchased.userInfo.set("receipt", "UkVD");
    TopupActions::sendReceipt(rows, 3, purchased); // the remembered row was the fourth
    TopupActions::sendReceipt(rows, -1, purchased);
    ASSERT_TRUE(portalCaughtUp());
    EXPECT_TRUE(bodies(71).empty());
    TopupActions::sendReceipt(rows, 2, purchased);
    ASSERT_TRUE(waitFor(71, 1));
    std::vector<uint8_t> expected{5};
    const auto field = utf("UkVD");
    expected.insert(expected.end(), field.begin(), field.end());
    EXPECT_EQ(bodies(71), std::vector<std::vector<uint8_t>>{expected});
}

TEST_F(TopupPanel, TheCardFormWarnsOnAnEmptyFieldAndSendsWhatWasTyped) {
    openPanel();
    ASSERT_DRIVE("tap text=Thẻ viettel\nwait id=txfSeriesNumber\ntap id=btnTopup\n");
    EXPECT_EQ(dialogText(), text("KAVO_LottoGeneralWarning"));
    UIController::closeDialog();
    // A serial typed without its PIN is warned about too, and nothing leaves.
    ASSERT_DRIVE("type id=txfSeriesNumber 1234 5\ntap id=btnTopup\n");
    EXPECT_EQ(dialogText(), text("KAVO_LottoGeneralWarning"));
    UIController::closeDialog();
    auto result = drive("type id=txfPinCode 0099\ntap id=btnTopup\ntap id=btnTopup\n");
    ASSERT_TRUE(result.ok) << result.message;
    ASSERT_TRUE(waitFor(71, 2));
    std::vector<uint8_t> expected{2, 2};
    for (const auto& field : {utf("1234 5"), utf("0099")})
        expected.insert(expected.end(), field.begin(), field.end());
    EXPECT_EQ(bodies(71), (std::vector<std::vector<uint8_t>>{expected, expected})) << "two taps send twice";
}

TEST_F(TopupPanel, TheCardFormsDimmingLayerLowersFirstAndClosesOnTheSecondTouch) {
    openPanel();
    ASSERT_DRIVE("tap text=Thẻ gate\ntap id=txfSeriesNumber\n");
    std::shared_ptr<TopupZelByCardView> form;
    for (const auto& subview : panel->subviews())
        if (auto found = std::dynamic_pointer_cast<TopupZelByCardView>(subview)) form = found;
    ASSERT_NE(form, nullptr);
    // Its backdrop and the two fields' pictures are drawn.
    size_t pictures = 0;
    for (const auto& subview : form->mainView()->subviews()) {
        auto picture = std::dynamic_pointer_cast<ui::ImageView>(subview);
        if (!picture) continue;
        ++pictures;
        EXPECT_TRUE(picture->image()) << "picture " << pictures << " of the card form";
    }
    EXPECT_EQ(pictures, 3u);
    EXPECT_TRUE(form->isEdit());
    const double raisedY = form->mainView()->center().y;
    form->hideThisView();
    advance(1);
    EXPECT_FALSE(form->isEdit());
    EXPECT_EQ(form->mainView()->center().y, raisedY + 80);
    EXPECT_NE(form->superview(), nullptr) << "still open after the first touch";
    form->hideThisView();
    EXPECT_EQ(form->superview(), nullptr);
}

// A desktop window has no on-screen keyboard: the card form stays where it was drawn, so
// the second click lands in the field the player aimed at, not in the one that moved there.
TEST_F(TopupPanel, InADesktopWindowEachClickTypesIntoTheCardFieldAimedAt) {
    openPanel();
    ui::Keyboard::setModel(ui::KeyboardModel::None);
    ASSERT_DRIVE("tap text=Thẻ gate\nwait id=txfPinCode\n");
    std::shared_ptr<TopupZelByCardView> form;
    for (const auto& subview : panel->subviews())
        if (auto found = std::dynamic_pointer_cast<TopupZelByCardView>(subview)) form = found;
    ASSERT_NE(form, nullptr);
    const ui::Rect drawn = screenFrame(*form->mainView());
    const ui::Point serial = screenCentre(*form->txfSeriesNumber());
    const ui::Point pin = screenCentre(*form->txfPinCode());
    clickAndType(serial, "1234");
    clickAndType(pin, "0099");
    EXPECT_EQ(screenFrame(*form->mainView()), drawn);
    EXPECT_FALSE(form->isEdit());
    EXPECT_EQ(form->txfSeriesNumber()->text(), "1234");
    EXPECT_EQ(form->txfPinCode()->text(), "0099");
}

} // namespace
