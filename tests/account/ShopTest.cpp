// The shop over the game grid of a signed-in client: its tabs, paging, row
// purchases, the cart's checkout and the store top-up from the shop alone.
#include "account/PendingReceipts.h"
#include "account/ShopView.h"
#include "account/ShopViewDetail.h"
#include "account/TopupZelByCardView.h"
#include "app/UIController.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/Text.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/PaymentQueue.h"
#include "platform/ui/AlertView.h"
#include "tests/account/ShopTestSupport.h"
#include "tests/support/client/OpenDialog.h"

#include <algorithm>

using namespace kavo;
using namespace kavo::test;

namespace {

using Bodies = std::vector<std::vector<uint8_t>>;

class Shop : public ShopFixture {
protected:
    std::shared_ptr<ShopView> shop = ShopView::getInstance();

    void openShop() {
        signIn();
        auto result = drive("tap id=btnNapZel\nwait id=ShopView\n");
        ASSERT_TRUE(result.ok) << result.message;
        ASSERT_TRUE(waitFor(72, 1));
        reply(channelList(), [this] { return shop->listNapZel().size() == 6; });
    }
    // The items tab with its first pages in.
    void openItems(const std::vector<std::pair<int32_t, int32_t>>& items,
                   const std::vector<std::pair<int32_t, int32_t>>& avatars) {
        openShop();
        ASSERT_DRIVE("tap id=btnVatPham\n");
        ASSERT_TRUE(waitFor(1203, 1));
        reply(itemPage(items), [this, n = items.size()] { return shop->arrTotal().size() == n; });
        reply(avatarPage(avatars), [this, n = items.size() + avatars.size()] { return shop->arrTotal().size() == n; });
    }
    void dragItemsTableToItsEnd() {
        const auto& table = shop->tableOfTab(ShopView::kTabVatPham);
        table->setContentOffset({0, std::max(0.0, table->contentSize().height - table->bounds().height())});
        shop->didEndDragging(*table, false);
    }
};

TEST_F(Shop, OpeningAsksForChannelsAndPromotionAndATabTappedAgainDoesNothing) {
    openShop();
    EXPECT_EQ(bodies(44), Bodies(1));
    EXPECT_EQ(bodies(72), Bodies{std::vector<uint8_t>{13}});
    const std::vector<uint8_t> history{0, 0, 0, 2};
    auto historyRequests = [&] {
        const auto all = bodies(2703);
        return std::count(all.begin(), all.end(), history);
    };
    ASSERT_DRIVE("tap id=btnLichSu\ntap id=btnLichSu\n");
    ASSERT_TRUE(portalCaughtUp());
    EXPECT_EQ(historyRequests(), 1);
    ASSERT_DRIVE("tap id=btnUuDai\ntap id=btnLichSu\n");
    ASSERT_TRUE(portalCaughtUp());
    EXPECT_EQ(historyRequests(), 2) << "the history asks every time it is shown";
    EXPECT_EQ(shop->viewingTabIndex(), ShopView::kTabLichSu);
}

TEST_F(Shop, TheTopUpButtonOpensTheTopUpListWhateverTabWasLeft) {
    openShop();
    ASSERT_DRIVE(
        "tap id=btnLichSu\ntap id=doCloseThisView\ntap id=btnNapZel\nwait id=ShopView\nexpect text=Thẻ gate\n");
    EXPECT_EQ(shop->viewingTabIndex(), ShopView::kTabNapZel);
    ASSERT_TRUE(portalCaughtUp());
    EXPECT_EQ(bodies(44).size(), 1u) << "in the same language the rows are not asked again";
}

TEST_F(Shop, ASecondChannelListReplacesTheRows) {
    openShop();
    reply(channelList(), [] { return true; });
    EXPECT_EQ(shop->listNapZel().size(), 6u);
    EXPECT_EQ(shop->tableOfTab(ShopView::kTabNapZel)->numberOfRows(0), 6);
    ASSERT_EQ(shop->listDiscount().size(), 1u);
}

TEST_F(Shop, LoadMoresAlternateAvatarsAndItemsOneAtATimeNearTheEnd) {
    openItems({{101, 100}, {102, 200}, {103, 300}, {104, 400}, {105, 500}, {106, 600}},
              {{21, 1000}, {22, 2000}, {23, 3000}, {24, 4000}, {25, 5000}, {26, 6000}});
    EXPECT_EQ(bodies(101), (Bodies{std::vector<uint8_t>{21, 0}}));
    EXPECT_EQ(bodies(1203), (Bodies{{0, 0, 0, 0}}));
    const auto& table = shop->tableOfTab(ShopView::kTabVatPham);
    shop->didEndDragging(*table, false); // at the top of 12 rows: short of the threshold
    ASSERT_TRUE(portalCaughtUp());
    EXPECT_EQ(bodies(1203).size(), 1u);

    dragItemsTableToItsEnd();
    dragItemsTableToItsEnd(); // a page is in flight: nothing more
    ASSERT_TRUE(waitFor(1203, 2));
    ASSERT_TRUE(portalCaughtUp());
    EXPECT_EQ(bodies(1203).back(), (std::vector<uint8_t>{0, 0, 0, 1}));
    EXPECT_EQ(bodies(101).size(), 1u);
    reply(avatarPage({{27, 100}}), [this] { return !shop->reloaded(); });
    dragItemsTableToItsEnd();
    ASSERT_TRUE(waitFor(101, 2));
    EXPECT_EQ(bodies(101).back(), (std::vector<uint8_t>{21, 1}));
    reply(itemPage({}), [this] { return !shop->reloaded(); });
    dragItemsTableToItsEnd();
    ASSERT_TRUE(waitFor(1203, 3));
    EXPECT_EQ(bodies(1203).back(), (std::vector<uint8_t>{0, 0, 0, 2}));
    reply(avatarPage({}), [this] { return !shop->reloaded(); });
    dragItemsTableToItsEnd();
    ASSERT_TRUE(waitFor(101, 3));
    EXPECT_EQ(bodies(101).back(), (std::vector<uint8_t>{21, 2}));
    reply(itemPage({}), [this] { return !shop->reloaded(); });

    ASSERT_DRIVE("tap id=btnLichSu\ntap id=btnVatPham\n");
    ASSERT_TRUE(portalCaughtUp());
    EXPECT_EQ(bodies(101).front(), (std::vector<uint8_t>{21, 0}));
    EXPECT_EQ(bodies(101).size(), 3u) << "the first pages are asked once per shop";
}

TEST_F(Shop, TheFirstPagesAreAskedAgainWhenNoneCameOrTheConnectionEnded) {
    openShop();
    ASSERT_DRIVE("tap id=btnVatPham\n");
    ASSERT_TRUE(waitFor(1203, 1));
    ASSERT_TRUE(portalCaughtUp());
    ASSERT_DRIVE("tap id=btnLichSu\ntap id=btnVatPham\n");
    ASSERT_TRUE(waitFor(1203, 2)) << "nothing came of the first asking";
    EXPECT_EQ(bodies(101), (Bodies{{21, 0}, {21, 0}}));
    reply(itemPage({{101, 100}}), [this] { return shop->arrTotal().size() == 1; });
    reply(avatarPage({{21, 1000}}), [this] { return shop->arrTotal().size() == 2; });
    ASSERT_DRIVE("tap id=btnLichSu\ntap id=btnVatPham\ntap id=btnLichSu\n");
    ASSERT_TRUE(portalCaughtUp());
    EXPECT_EQ(bodies(101).size(), 2u) << "rows in: not asked again on this connection";

    shop->doCloseThisView();
    portal().closeClient();
    ASSERT_TRUE(
        platform::RunLoop::main().runUntil([] { return UIController::currentDialog() != nullptr; }, kStateWait));
    runPosted();
    UIController::closeDialog();
    EXPECT_TRUE(shop->arrTotal().empty());
    // The log-in screen keeps its filled form: the player signs in and picks the server again.
    auto road = drive("screen LoginView\nadvance 0.5\ntap id=btnSignIn\nadvance 0.5\ntap text=" +
                      std::string(ClientWorld::kServerName) + "\nscreen GameView\nadvance 0.5\n");
    ASSERT_TRUE(road.ok) << road.message << "\n" << log();
    portal().clearMessages();
    ASSERT_DRIVE("tap id=btnNapZel\nwait id=ShopView\ntap id=btnVatPham\n");
    ASSERT_TRUE(waitFor(101, 1)) << "the items tab of the new connection asks again";
    EXPECT_EQ(bodies(101), (Bodies{{21, 0}}));
    reply(itemPage({{101, 100}}), [this] { return shop->arrTotal().size() == 1; });
    reply(avatarPage({{21, 1000}}), [this] { return shop->arrTotal().size() == 2; });
    EXPECT_EQ(shop->arrTotal().size(), 2u);
}

TEST_F(Shop, RowPurchasesAskFirstAndSendOnOk) {
    openItems({{101, 100}}, {{21, 2000}});
    shop->selectRow(0);
    EXPECT_EQ(dialogText(), text("KAVO_Items_Question"));
    // OK buys: the question says so with the word of the buy button, in either language.
    for (const char* language : {"vi", "en"}) {
        const auto words =
            platform::PropertyList::readFile(ClientWorld::get().bundlePath() + "/" + language + ".plist");
        EXPECT_NE(platform::toUpper(words["KAVO_Items_Question"].stringValue())
                      .find(platform::toUpper(words["KAVO_Shop_Mua"].stringValue())),
                  std::string::npos)
            << language;
    }
    EXPECT_EQ(openDialogCode(), UIController::kActionBuyItem);
    UIController::pressOk();
    ASSERT_TRUE(waitFor(101, 2));
    EXPECT_EQ(bodies(101).back(), (std::vector<uint8_t>{6, 0, 0, 0, 1, 0, 0, 0, 101}));

    shop->selectRow(1);
    EXPECT_EQ(openDialogCode(), UIController::kActionBuyAvatar);
    UIController::pressOk();
    ASSERT_TRUE(waitFor(1202, 1));
    EXPECT_EQ(bodies(1202).back(), (std::vector<uint8_t>{0, 0, 0, 21}));
}

TEST_F(Shop, AnAvatarBoughtFromARowCostsItsOwnPriceNotTheLastTilesPrice) {
    openItems({{101, 5000}}, {{21, 2000}});
    const int32_t worn = UIController::myInfo()->avatar();
    ASSERT_DRIVE("tap id=tile10000\nwait id=ShopViewDetail\n");
    for (const auto& view : shop->view()->subviews())
        if (auto panel = std::dynamic_pointer_cast<ShopViewDetail>(view)) panel->hideThisView();
    runPosted();
    shop->selectRow(1);
    UIController::pressOk();
    ASSERT_TRUE(waitFor(1202, 1));
    Message bought(1202);
    bought.writeInt(21);
    reply(bought, [] { return myMoney() != ClientWorld::kPlayerMoney; });
    EXPECT_EQ(myMoney(), ClientWorld::kPlayerMoney - 2000);
    EXPECT_EQ(UIController::myInfo()->avatar(), worn) << "bought, it is worn from the profile";
}

// A price reads as every other amount does, its digits grouped: in the rows and in an
// item's detail.
TEST_F(Shop, PricesReadWithTheirDigitsGroupedInTheRowsAndTheDetail) {
    openItems({{101, 5000}}, {{21, 25000}});
    ASSERT_DRIVE("wait text=5.000 Zel\nwait text=25.000 Zel\ntap id=tile10000\nwait id=ShopViewDetail\n"
                 "wait text=5.000 ZEL\n");
}

TEST_F(Shop, CheckoutSendsTheCartInOrderAndLeavesAWorkingEmptyCart) {
    openItems({{101, 100}, {102, 200}}, {});
    ASSERT_DRIVE("tap id=viewVatPham_btnMuaNgay\n");
    ASSERT_TRUE(waitFor(101, 2));
    EXPECT_EQ(bodies(101).back(), (std::vector<uint8_t>{6, 0, 0, 0, 0}));

    shop->listSelectedItems().push_back(shop->arrTotal()[1]);
    shop->listSelectedItems().push_back(shop->arrTotal()[0]);
    shop->reloadScrollViewCheckout();
    ASSERT_DRIVE("expect id=tile30001\ntap id=viewVatPham_btnMuaNgay\n");
    ASSERT_TRUE(waitFor(101, 3));
    EXPECT_EQ(bodies(101).back(), (std::vector<uint8_t>{6, 0, 0, 0, 2, 0, 0, 0, 102, 0, 0, 0, 101}));
    EXPECT_TRUE(shop->listSelectedItems().empty());

    ASSERT_DRIVE("tap id=tile10000\nwait id=ShopViewDetail\ntap id=doAddToCart\n");
    runPosted();
    ASSERT_EQ(shop->listSelectedItems().size(), 1u);
    EXPECT_EQ(shop->listSelectedItems()[0].id(), 101);
}

TEST_F(Shop, AStoreTopUpFromTheShopAloneIsSentOnceAndCredited) {
    openShop();
    shop->selectRow(3); // "Goi 20000"
    ASSERT_TRUE(waitFor(71, 1));
    ASSERT_TRUE(portalCaughtUp());
    ASSERT_EQ(bodies(71).size(), 1u);
    const auto body = bodies(71)[0];
    ASSERT_GT(body.size(), 3u);
    EXPECT_EQ(body[0], 5);
    const std::string receipt(body.begin() + 3, body.end());
    EXPECT_EQ(PendingReceipts::receiptsOf("an"), std::vector<std::string>{receipt});
    EXPECT_TRUE(shop->view()->isUserInteractionEnabled());
    reply(purchaseAnswer(1, "Nap thanh cong", receipt, 777777), [] { return myMoney() == 777777; });
    EXPECT_EQ(dialogText(), "Nap thanh cong");
    EXPECT_TRUE(PendingReceipts::entries().empty());
}

TEST_F(Shop, ACancelledStorePurchaseSaysNothingAndAFailureSaysWhy) {
    openShop();
    platform::PaymentQueue::setOutcome(platform::StoreOutcome::Cancelled);
    shop->selectRow(3);
    runPosted();
    EXPECT_EQ(dialogText(), "");
    platform::PaymentQueue::setOutcome(platform::StoreOutcome::Failed);
    shop->selectRow(3);
    ASSERT_TRUE(portalCaughtUp());
    EXPECT_EQ(dialogText(), "store not available");
    // A notice like every other: one button, the OK word.
    const auto notice = platform::ui::AlertView::visibleAlerts().back();
    ASSERT_EQ(notice->numberOfButtons(), 1);
    EXPECT_EQ(notice->buttonTitleAtIndex(0), text("KAVO_OK"));
    EXPECT_TRUE(bodies(71).empty());
    EXPECT_TRUE(shop->view()->isUserInteractionEnabled());
}

TEST_F(Shop, APromotionCardOpensTheCardFormOnlyFromThePromotionTab) {
    openShop();
    shop->selectRow(5); // the promotion card in the top-up tab
    EXPECT_EQ(TopupZelByCardView::getInstance()->superview(), nullptr);
    ASSERT_DRIVE("tap id=btnUuDai\ntap text=The uu dai\nwait id=txfSeriesNumber\n");
    EXPECT_EQ(TopupZelByCardView::getInstance()->selectedChargeMoneyInfo()->subId(), 5);
    EXPECT_EQ(TopupZelByCardView::getInstance()->superview(), shop->view().get());
}

} // namespace
