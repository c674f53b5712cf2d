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
            Message list(44);
            list.writeByte(2);
            list.writeByte(1);
            list.writeUTF("Thẻ gate");
            list.writeUTF("");
            list.writeUTF("");
            list.writeByte(5);
            list.writeUTF("Goi 20000 Zel");
            list.writeUTF("vn.kavo.online.zel20");
            list.writeUTF("");
            reply.send(list);
        });
        portal().onCommand(101, [](Message& request, TestPortal::Reply& reply) {
            const int8_t sub = request.readByte();
            Message answer(101);
            answer.writeByte(sub);
            if (sub == 21) {
                answer.writeInt(1);
                if (request.readByte() == 0) {
                    answer.writeInt(101);
                    answer.writeUTF("Hoa hong");
                    answer.writeInt(3000);
                    answer.writeUTF("");
                    answer.writeBool(0);
                }
            } else {
                answer.writeByte(0);
                answer.writeInt(3000);
            }
            reply.send(answer);
        });
        portal().onCommand(1203, [](Message&, TestPortal::Reply& reply) {
            Message none(1203);
            none.writeInt(1);
            reply.send(none);
        });
        portal().onCommand(104, [](Message& request, TestPortal::Reply& reply) {
            const int8_t sub = request.readByte();
            Message answer(104);
            answer.writeByte(sub);
            if (sub == 5) {
                answer.writeInt(7001);
                answer.writeUTF("lan");
                answer.writeLong(500);
                answer.writeShort(1);
                answer.writeByte(0);
                answer.writeUTF("");
            } else if (sub != 8) {
                return;
            }
            reply.send(answer);
        });
        portal().onCommand(71, [](Message& request, TestPortal::Reply& reply) {
            const int8_t type = request.readByte();
            Message answer(71);
            answer.writeByte(type);
            answer.writeByte(1);
            if (type == 5) {
                answer.writeUTF("Da nap 20000 Zel");
                answer.writeUTF(request.readUTF());
                answer.writeLong(ClientWorld::kPlayerMoney + 20000);
            } else {
                answer.writeUTF("Da nap the");
                answer.writeUTF("");
                answer.writeLong(ClientWorld::kPlayerMoney + 70000);
            }
            reply.send(answer);
        });
    }
    static std::string signInScript() {
        return std::string("screen LoginView\nadvance 0.1\ntap id=btnSignIn_Clicked\ntype id=txfUsername an\n"
                           "type id=txfPassword bimat\ntap id=btnSignIn\nwait text=") +
               ClientWorld::kServerName + "\ntap text=" + ClientWorld::kServerName + "\nscreen GameView\nadvance 0.5\n";
    }
    static int64_t money() { return UIController::myInfo()->money(); }
    bool moneyBecomes(int64_t value) {
        return platform::RunLoop::main().runUntil([&] { return money() == value; }, 5);
    }
    static void pressAlert(int index) {
        auto alerts = platform::ui::AlertView::visibleAlerts();
        ASSERT_FALSE(alerts.empty());
        alerts.back()->buttonAtIndex(index)->sendActions(platform::ui::ControlEvent::TouchUpInside);
    }
};

TEST_F(ShopRoad, APlayerTopsUpBuysAndGivesFromTheShop) {
    launch();
    auto result = drive(signInScript() + "tap id=btnNapZel\nwait text=Goi 20000 Zel\ntap text=Goi 20000 Zel\n");
    ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    // The store answers, the receipt goes to the server, the server credits it.
    ASSERT_TRUE(moneyBecomes(ClientWorld::kPlayerMoney + 20000)) << log();
    result = drive("wait text=Da nap 20000 Zel\ntap text=" + text("KAVO_OK") + "\n");
    ASSERT_TRUE(result.ok) << result.message;
    EXPECT_TRUE(PendingReceipts::entries().empty());

    result = drive("tap text=Thẻ gate\ntype id=txfSeriesNumber 123456\ntype id=txfPinCode 654321\n"
                   "tap id=btnTopup\nwait text=Da nap the\n");
    ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    EXPECT_EQ(money(), ClientWorld::kPlayerMoney + 70000);
    const auto& form = TopupZelByCardView::getInstance();
    EXPECT_EQ(form->txfSeriesNumber()->text() + form->txfPinCode()->text(), "") << "a card is not kept once sent";
    UIController::closeDialog();
    // The dimming layer closes the form (the form's content covers its middle).
    TopupZelByCardView::getInstance()->hideThisView();

    result = drive("tap id=btnVatPham\nwait id=tile10000\nadvance 0.5\ntap id=tile10000\nwait id=doCheckOut 2\ntap "
                   "id=doCheckOut\n");
    ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    pressAlert(1);
    ASSERT_TRUE(moneyBecomes(ClientWorld::kPlayerMoney + 67000)) << "the item's payment is taken off";
    result = drive("wait text=" + text("KAVO_buyItemOK") + "\ntap text=" + text("KAVO_OK") + "\n");
    ASSERT_TRUE(result.ok) << result.message;

    result = drive("tap id=doPresent\ntap id=presentFriend0\n");
    ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    pressAlert(1);
    ASSERT_TRUE(moneyBecomes(ClientWorld::kPlayerMoney + 64000)) << "the gift's price is taken off";
    result = drive("wait text=" + text("KAVO_PresentCompleted") + "\n");
    EXPECT_TRUE(result.ok) << result.message;
}

} // namespace
