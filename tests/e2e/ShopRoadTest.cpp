// The shop road end to end: a signed-in player opens the shop from the game grid,
// tops up through the store and by card, buys an item and gives one to a friend,
// on the manual clock against the test portal, driven like a person.
#include "account/PendingReceipts.h"
#include "account/TopupZelByCardView.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/PaymentQueue.h"
#include "platform/ui/AlertView.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"

using namespace kavo;
using namespace kavo::test;

namespace {

class ShopRoad : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        platform::PaymentQueue::defaultQueue().resetForTesting();
        platform::PaymentQueue::setOutcome(platform::StoreOutcome::Purchased);
        installShopPortal();
    }
    void TearDown() override {
        platform::PaymentQueue::defaultQueue().resetForTesting();
        ClientFixture::TearDown();
    }

    // A portal that sells: channels, one page of items, a friend, purchases and top-ups.
    void installShopPortal() {
        portal().onCommand(44, [](Message&, TestPortal::Reply& reply) {
            Bytes list;
            list.byte(2).byte(1).utf("Thẻ gate").utf("").utf("").byte(5).utf("Goi 20000 Zel");
            reply.send(44, list.utf("vn.kavo.online.zel20").utf(""));
        });
        portal().onCommand(101, [](Message& request, TestPortal::Reply& reply) {
            const int8_t sub = request.readByte();
            Bytes answer;
            answer.byte(sub);
            if (sub == 21) {
                answer.int32(1);
                if (request.readByte() == 0) {
                    answer.int32(101).utf("Hoa hong").int32(3000).utf("").boolean(false);
                }
            } else {
                answer.byte(0).int32(3000);
            }
            reply.send(101, answer);
        });
        portal().onCommand(1203, [](Message&, TestPortal::Reply& reply) { reply.send(1203, Bytes().int32(1)); });
        portal().onCommand(104, [](Message& request, TestPortal::Reply& reply) {
            const int8_t sub = request.readByte();
            Bytes answer;
            answer.byte(sub);
            if (sub == 5) {
                answer.int32(7001).utf("lan").int64(500).int16(1).byte(0).utf("");
            } else if (sub != 8) {
                return;
            }
            reply.send(104, answer);
        });
        portal().onCommand(71, [](Message& request, TestPortal::Reply& reply) {
            const int8_t type = request.readByte();
            Bytes answer;
            answer.byte(type).byte(1);
            if (type == 5) {
                answer.utf("Da nap 20000 Zel").utf(request.readUTF()).int64(ClientWorld::kPlayerMoney + 20000);
            } else {
                answer.utf("Da nap the").utf("").int64(ClientWorld::kPlayerMoney + 70000);
            }
            reply.send(71, answer);
        });
    }
    static std::string signInScript() {
        return std::string("screen LoginView\nadvance 0.1\ntap id=btnSignIn_Clicked\ntype id=txfUsername an\n"
                           "type id=txfPassword bimat\ntap id=btnSignIn\nwait text=") +
               ClientWorld::kServerName + "\ntap text=" + ClientWorld::kServerName + "\nscreen GameView\nadvance 0.5\n";
    }
    static int64_t money() { return UIController::myInfo()->money(); }
    [[nodiscard]] bool moneyBecomes(int64_t value) {
        return platform::RunLoop::main().runUntil([&] { return money() == value; }, 30);
    }
    static void pressAlert(int index) {
        auto alerts = platform::ui::AlertView::visibleAlerts();
        ASSERT_FALSE(alerts.empty());
        alerts.back()->buttonAtIndex(index)->sendActions(platform::ui::ControlEvent::TouchUpInside);
    }
};

TEST_F(ShopRoad, APlayerTopsUpBuysAndGivesFromTheShop) {
    launch();
    ASSERT_TRUE(drives(signInScript() + "tap id=btnNapZel\nwait text=Goi 20000 Zel\ntap text=Goi 20000 Zel\n"));
    // The store answers, the receipt goes to the server, the server credits it.
    ASSERT_TRUE(moneyBecomes(ClientWorld::kPlayerMoney + 20000)) << log();
    ASSERT_TRUE(drives("wait text=Da nap 20000 Zel\ntap text=" + text("KAVO_OK") + "\n"));
    EXPECT_TRUE(PendingReceipts::entries().empty());

    ASSERT_TRUE(drives("tap text=Thẻ gate\ntype id=txfSeriesNumber 123456\ntype id=txfPinCode 654321\n"
                       "tap id=btnTopup\nwait text=Da nap the\n"));
    EXPECT_EQ(money(), ClientWorld::kPlayerMoney + 70000);
    const auto& form = TopupZelByCardView::getInstance();
    EXPECT_EQ(form->txfSeriesNumber()->text() + form->txfPinCode()->text(), "") << "a card is not kept once sent";
    UIController::closeDialog();
    // The dimming layer closes the form (the form's content covers its middle).
    TopupZelByCardView::getInstance()->hideThisView();

    ASSERT_TRUE(
        drives("tap id=btnVatPham\nwait id=tile10000\nadvance 0.5\ntap id=tile10000\nwait id=doCheckOut 30\ntap "
               "id=doCheckOut\n"));
    pressAlert(1);
    ASSERT_TRUE(moneyBecomes(ClientWorld::kPlayerMoney + 67000)) << "the item's payment is taken off";
    ASSERT_TRUE(drives("wait text=" + text("KAVO_buyItemOK") + "\ntap text=" + text("KAVO_OK") + "\n"));

    ASSERT_TRUE(drives("tap id=doPresent\ntap id=presentFriend0\n"));
    pressAlert(1);
    ASSERT_TRUE(moneyBecomes(ClientWorld::kPlayerMoney + 64000)) << "the gift's price is taken off";
    EXPECT_TRUE(drives("wait text=" + text("KAVO_PresentCompleted") + "\n"));
}

} // namespace
