// Gifts from the shop against the portal stub, as players go: a gift the stub refuses
// reaches the player and costs him nothing, and the next one costs its own price on the
// grid and on the profile; a present another person gave is among his assets when he
// signs in.
#include "account/ShopView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/tienlen/TienLenView.h"
#include "lobby/GameView.h"
#include "platform/foundation/TextFormat.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Label.h"
#include "table/registry/GameController.h"
#include "tests/e2e/StubDrive.h"
#include "tests/e2e/StubWire.h"
#include "tests/support/client/ClientTestSupport.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kavo::test {
namespace {

class GiftStubRoad : public StubDriveFixture {
protected:
    static std::string signIn(const std::string& user) {
        return "screen LoginView\nadvance 0.1\ntap id=btnSignIn_Clicked\ntype id=txfUsername " + user +
               "\ntype id=txfPassword 123\ntap id=btnSignIn\nwait text=Stub\ntap text=Stub\nscreen GameView 30\n"
               "advance 0.5\n";
    }
    static std::string ok() { return "tap text=" + text("KAVO_OK") + "\n"; }
    static int64_t money() { return UIController::myInfo()->money(); }
    // The tile of the shop's strip that shows the item or avatar `id` ("" when none does).
    static std::string tileOf(int32_t id) {
        const auto& entries = ShopView::getInstance()->arrTotal();
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i].id() == id) return "tile" + std::to_string(ShopView::kRowTileTag + int(i));
        return "";
    }
    // Opens the tile of `id` and gives it to `friendName`, the first friend the panel
    // lists, up to the question, which is answered apart.
    static std::string giftToFirstFriend(int32_t id, const std::string& friendName) {
        return "tap id=" + tileOf(id) + "\nwait id=doPresent 30\ntap id=doPresent\ntap id=presentFriend0\nwait text=" +
               platform::formatText(text("KAVO_BuyGiftForFriendQuestion"), {friendName}) + " 30\n";
    }
    // Gives: the question's second button, as a finger presses it.
    static void answerGive() {
        auto alerts = platform::ui::AlertView::visibleAlerts();
        ASSERT_FALSE(alerts.empty());
        alerts.back()->buttonAtIndex(1)->sendActions(platform::ui::ControlEvent::TouchUpInside);
    }
};

// A player whose money, spent from another connection, no longer covers a gift of 3,000:
// the stub refuses it naming the friend, the grid keeps 2,500; then a gift of 1,000 is
// given, and the grid, every step of the answer, shows 2,500 and then 1,500 only (never
// the refused gift's price taken off), as the profile does afterwards.
TEST_F(GiftStubRoad, ARefusedGiftCostsNothingAndTheNextGiftCostsItsOwnPrice) {
    {
        StubPerson elsewhere(stub_->port());
        ASSERT_EQ(elsewhere.signIn("tangqua"), 1000000);
        elsewhere.send(17, Bytes().utf("lan").int32(997500).data());
        auto sent = elsewhere.next(17);
        ASSERT_TRUE(sent);
        ASSERT_EQ(sent->readLong(), 2500);
    }
    launch();
    ASSERT_TRUE(drives(signIn("tangqua") + "wait text=" + Util::formatNumber(2500) + " 30\n"));
    auto grid = std::dynamic_pointer_cast<GameView>(KavoOnlineAppDelegate::getInstance().topViewController());
    ASSERT_TRUE(grid);
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return !Resources::getInstance().listMyFriends().empty(); },
                                                   kStateWait));
    const std::string friendName = Resources::getInstance().listMyFriends().front()->name();

    ASSERT_TRUE(drives("tap id=btnNapZel\nwait id=ShopView 30\ntap id=btnVatPham\nwait text=Vật phẩm 100 30\n"));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([] { return !tileOf(100).empty() && !tileOf(102).empty(); }, 30));
    advance(0.5);

    // Item 102, 3,000 Zel: refused.
    const std::string refusal = "Không đủ tiền tặng quà cho " + friendName;
    ASSERT_TRUE(drives(giftToFirstFriend(102, friendName)));
    answerGive();
    ASSERT_TRUE(drives("wait text=" + refusal + " 30\n"));
    EXPECT_EQ(money(), 2500);
    EXPECT_EQ(grid->lblPlayerMoney()->text(), Util::formatNumber(2500));
    ASSERT_TRUE(drives(ok() + "tap id=hideThisView\nadvance 0.5\n"));

    // Item 100, 1,000 Zel: given. Each reply's step is run on its own and what the grid
    // shows after it is kept.
    ASSERT_TRUE(drives(giftToFirstFriend(100, friendName)));
    std::vector<std::string> shown{grid->lblPlayerMoney()->text()};
    answerGive();
    const auto answered = [] { return dialogText() == text("KAVO_PresentCompleted"); };
    const auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(int(kStateWait));
    while (!(answered() && money() == 1500) && std::chrono::steady_clock::now() < bound) {
        platform::RunLoop::main().runNext(0.05);
        if (grid->lblPlayerMoney()->text() != shown.back()) shown.push_back(grid->lblPlayerMoney()->text());
    }
    EXPECT_TRUE(answered());
    EXPECT_EQ(money(), 1500);
    EXPECT_EQ(shown, (std::vector<std::string>{Util::formatNumber(2500), Util::formatNumber(1500)}));

    ASSERT_TRUE(drives(ok() + "tap id=hideThisView\nadvance 0.5\ntap id=doCloseThisView\nadvance 0.5\nwait text=" +
                       Util::formatNumber(1500) +
                       " 30\ntap id=doShowProfileView\nscreen ProfileView 30\n"
                       "advance 0.5\nwait text=" +
                       Util::formatNumber(1500) + " Zel 10\n"));
}

// Another person gives him an avatar and an item while he is away: signed in, his
// profile's assets list both.
TEST_F(GiftStubRoad, APresentFromAnotherPersonIsAmongHisAssetsWhenHeSignsIn) {
    {
        StubPerson receiver(stub_->port());
        ASSERT_EQ(receiver.signIn("nhanqua"), 1000000);
    }
    {
        StubPerson giver(stub_->port());
        ASSERT_EQ(giver.signIn("tangqua"), 1000000);
        giver.send(104, Bytes().byte(9).int16(22).utf("nhanqua").int32(0).data());
        ASSERT_TRUE(giver.next(104, 9));
        giver.send(104, Bytes().byte(8).int32(101).int32(0).utf("nhanqua").data());
        ASSERT_TRUE(giver.next(104, 8));
    }
    launch();
    ASSERT_TRUE(drives(signIn("nhanqua") +
                       "tap id=doShowProfileView\nscreen ProfileView 30\nadvance 0.5\nwait text=nhanqua 30\n"
                       "tap id=btnItems\nadvance 0.1\nwait text=Avatar 22 30\nwait text=Vật phẩm 101 30\n"));
    EXPECT_EQ(money(), 1000000) << "a present costs its receiver nothing";
}

// "Tặng cả bàn" at a Tien Len table of the stub gives the present to every player seated,
// the giver too, each paid; the shop's history then names each receiver by his name, the
// giver by his own, as the table names them: never by a number.
TEST_F(GiftStubRoad, AGiftToTheWholeTableNamesEveryReceiverInTheHistory) {
    launch();
    ASSERT_TRUE(drives(signIn("tangban") +
                       "tap id=btnTLMN\nscreen BoardView 30\nadvance 0.5\nwait text=100 zel 30\ntap text=100 zel\n"
                       "screen TienLenView 30\nadvance 1.5\nwait image=icon_ok.png#2 30\n"));
    auto table = GameController::getTienLenView();
    ASSERT_TRUE(table);
    std::vector<std::string> seated;
    for (const auto& player : table->tablePlayers())
        if (player && player->IDDB() != -1) seated.push_back(player->name());
    ASSERT_EQ(seated.size(), 3u) << "the two stub players and me";
    ASSERT_NE(std::find(seated.begin(), seated.end(), "tangban"), seated.end());
    const int64_t before = money();

    ASSERT_TRUE(drives("tap id=btnSeat2\nadvance 1\ntap id=btnPlayerPresent2\nwait id=gift4101 30\ntap id=gift4101\n"
                       "tap id=btnTangTatCa\n"));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([&] { return money() == before - 3000; }, kStateWait))
        << "three presents of 1,000 paid: " << money();

    ASSERT_TRUE(drives("advance 1\ntap id=btnBack\nscreen BoardView 30\nadvance 0.5\ntap id=btnBack\n"
                       "screen GameView 30\nadvance 0.5\ntap id=btnNapZel\nwait id=ShopView 30\ntap id=btnLichSu\n"));
    for (const std::string& name : seated)
        EXPECT_TRUE(drives("wait text=Tặng Quà 41-1 cho " + name + " (-1.000 Zel) 30\n")) << name;
    EXPECT_TRUE(drives("expect-not contains=" + std::to_string(UIController::myInfo()->IDDB()) + "\n"))
        << "the giver is named, not numbered";
}

} // namespace
} // namespace kavo::test
