// The detail panel beside a shop tile: the money check, purchases for oneself, gifts
// to a friend, the cart and where the panel sits.
#include "account/ShopView.h"
#include "account/ShopViewDetail.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "platform/foundation/TextFormat.h"
#include "platform/ui/AlertView.h"
#include "tests/account/ShopTestSupport.h"

using namespace kavo;
using namespace kavo::test;

namespace {

using Bodies = std::vector<std::vector<uint8_t>>;

class ItemDetail : public ShopFixture {
protected:
    std::shared_ptr<ShopView> shop = ShopView::getInstance();

    // The items tab with these items and avatars; friends "lan" (7001) and "minh" (7002).
    void openItems(const std::vector<std::pair<int32_t, int32_t>>& items,
                   const std::vector<std::pair<int32_t, int32_t>>& avatars) {
        signIn();
        auto lan = std::make_shared<Player>();
        lan->setIDDB(7001);
        lan->setName("lan");
        auto minh = std::make_shared<Player>();
        minh->setIDDB(7002);
        minh->setName("minh");
        Resources::getInstance().setListMyFriends({lan, minh});
        ASSERT_DRIVE("tap id=btnNapZel\nwait id=ShopView\ntap id=btnVatPham\n");
        ASSERT_TRUE(waitFor(1203, 1));
        reply(itemPage(items), [this, n = items.size()] { return shop->arrTotal().size() == n; });
        reply(avatarPage(avatars), [this, n = items.size() + avatars.size()] { return shop->arrTotal().size() == n; });
        portal().clearMessages();
    }
    std::shared_ptr<ShopViewDetail> openTile(int tag) {
        auto result = drive("tap id=tile" + std::to_string(tag) + "\nwait id=ShopViewDetail\n");
        EXPECT_TRUE(result.ok) << result.message;
        return panel();
    }
    std::shared_ptr<ShopViewDetail> panel() const {
        for (const auto& view : shop->view()->subviews())
            if (auto found = std::dynamic_pointer_cast<ShopViewDetail>(view)) return found;
        return nullptr;
    }
    static std::vector<uint8_t> be32(int32_t v) {
        return {uint8_t(uint32_t(v) >> 24), uint8_t(uint32_t(v) >> 16), uint8_t(uint32_t(v) >> 8), uint8_t(v)};
    }
};

TEST_F(ItemDetail, MoneyEqualToThePricePassesAndOneLessIsRefused) {
    openItems({{101, int32_t(ClientWorld::kPlayerMoney)}, {102, int32_t(ClientWorld::kPlayerMoney) + 1}}, {});
    openTile(ShopView::kRowTileTag);
    ASSERT_DRIVE("tap id=doCheckOut\n");
    EXPECT_EQ(dialogText(), platform::formatText(text("KAVO_confirmBuyItem"), {"125.000"}));
    pressAlertButton(1);
    ASSERT_TRUE(waitFor(101, 1));
    EXPECT_EQ(bodies(101).back(), (std::vector<uint8_t>{6, 0, 0, 0, 1, 0, 0, 0, 101}));

    panel()->hideThisView();
    runPosted();
    openTile(ShopView::kRowTileTag + 1);
    ASSERT_DRIVE("tap id=doCheckOut\n");
    EXPECT_EQ(dialogText(), platform::formatText(text("KAVO_noEnoughBuyItem"), {"125.000"}));
    ASSERT_TRUE(portalCaughtUp());
    EXPECT_EQ(bodies(101).size(), 1u);
}

TEST_F(ItemDetail, MoneyAboveTwoToTheThirtyOneIsComparedWhole) {
    openItems({}, {{21, 2147483647}});
    UIController::myInfo()->setMoney(3000000000LL);
    openTile(ShopView::kRowTileTag);
    ASSERT_DRIVE("tap id=doCheckOut\n");
    EXPECT_EQ(dialogText(), platform::formatText(text("KAVO_confirmBuyAvatar"), {"3.000.000.000"}));
    pressAlertButton(1);
    ASSERT_TRUE(waitFor(1202, 1));
    EXPECT_EQ(bodies(1202).back(), be32(21));
}

TEST_F(ItemDetail, GiftsToAFriendSendTheirRequestsWithA16BitAvatarId) {
    openItems({{101, 100}}, {{200, 300}, {70000, 400}});
    openTile(ShopView::kRowTileTag);
    ASSERT_DRIVE("tap id=doPresent\ntap id=presentFriend0\n");
    EXPECT_EQ(dialogText(), platform::formatText(text("KAVO_BuyGiftForFriendQuestion"), {"lan"}));
    pressAlertButton(1);
    ASSERT_TRUE(waitFor(104, 1));
    std::vector<uint8_t> item{8, 0, 0, 0, 101, 0, 0, 0x1B, 0x59};
    const auto lan = utf("lan");
    item.insert(item.end(), lan.begin(), lan.end());
    EXPECT_EQ(bodies(104).back(), item);

    panel()->hideThisView();
    runPosted();
    openTile(ShopView::kRowTileTag + 1);
    ASSERT_DRIVE("tap id=doPresent\ntap id=presentFriend1\n");
    pressAlertButton(1);
    ASSERT_TRUE(waitFor(104, 2));
    std::vector<uint8_t> avatar{9, 0x00, 0xC8};
    const auto minh = utf("minh");
    avatar.insert(avatar.end(), minh.begin(), minh.end());
    for (uint8_t b : be32(7002))
        avatar.push_back(b);
    EXPECT_EQ(bodies(104).back(), avatar);

    panel()->hideThisView();
    runPosted();
    openTile(ShopView::kRowTileTag + 2);
    ASSERT_DRIVE("tap id=doPresent\ntap id=presentFriend0\n");
    pressAlertButton(1);
    ASSERT_TRUE(portalCaughtUp());
    EXPECT_EQ(bodies(104).size(), 2u) << "an avatar id beyond 16 bits sends nothing";

    Message given(104);
    given.writeByte(9);
    reply(given, [] { return myMoney() != ClientWorld::kPlayerMoney; });
    EXPECT_EQ(myMoney(), ClientWorld::kPlayerMoney - 100) << "the oldest gift waiting is paid first";
}

TEST_F(ItemDetail, TheGiveButtonBuildsTheFriendListOnce) {
    openItems({{101, 100}}, {});
    auto detail = openTile(ShopView::kRowTileTag);
    ASSERT_DRIVE("tap id=doPresent\n");
    ASSERT_NE(detail->wView(), nullptr);
    detail->doPresent();
    int lists = 0;
    for (const auto& view : shop->view()->subviews())
        lists += view->accessibilityIdentifier() == "wView";
    EXPECT_EQ(lists, 1);
    EXPECT_TRUE(drive("expect id=presentFriend1\nexpect-not id=presentFriend2\n").ok);
}

TEST_F(ItemDetail, AnAvatarForTheCartIsRefusedAndAnItemIsAdded) {
    openItems({{101, 100}}, {{21, 300}});
    openTile(ShopView::kRowTileTag + 1);
    ASSERT_DRIVE("tap id=doAddToCart\n");
    runPosted();
    EXPECT_EQ(dialogText(), text("KAVO_WarningUnderConstruction"));
    EXPECT_TRUE(shop->listSelectedItems().empty());
    pressAlertButton(0);
    panel()->hideThisView();
    runPosted();
    openTile(ShopView::kRowTileTag);
    ASSERT_DRIVE("tap id=doAddToCart\n");
    runPosted();
    EXPECT_EQ(dialogText(), text("KAVO_Cart_ConfirmItem"));
    ASSERT_EQ(shop->listSelectedItems().size(), 1u);
    // A notice like every other: one button, the OK word.
    const auto notice = platform::ui::AlertView::visibleAlerts().back();
    ASSERT_EQ(notice->numberOfButtons(), 1);
    EXPECT_EQ(notice->buttonTitleAtIndex(0), text("KAVO_OK"));
}

TEST_F(ItemDetail, ChoosingAFriendThenBuyingBuysForOneself) {
    openItems({{101, 100}}, {});
    openTile(ShopView::kRowTileTag);
    ASSERT_DRIVE("tap id=doPresent\ntap id=presentFriend0\n");
    pressAlertButton(0);
    ASSERT_DRIVE("tap id=doCheckOut\n");
    pressAlertButton(1);
    ASSERT_TRUE(waitFor(101, 1));
    ASSERT_TRUE(portalCaughtUp());
    EXPECT_TRUE(bodies(104).empty());
    EXPECT_EQ(bodies(101).back(), (std::vector<uint8_t>{6, 0, 0, 0, 1, 0, 0, 0, 101}));
}

TEST_F(ItemDetail, ThePanelOpensRightOfAStripTileAndLeftOfACartTile) {
    openItems({{101, 1}, {102, 2}}, {});
    auto near = openTile(ShopView::kRowTileTag + 1);
    EXPECT_FALSE(shop->isOver());
    // The strip starts at x 10 and y 66 + 146 of the shop; tiles are 70 wide, 74 apart.
    EXPECT_EQ(near->frame(), platform::ui::Rect(10 + 74 + 70, 212 - 44, 146, 162));
    ASSERT_DRIVE("tap id=doAddToCart\n");
    runPosted();
    pressAlertButton(0);
    near->hideThisView();
    runPosted();
    // The cart lies right of the strip, at x 10 + 294.
    auto far = openTile(ShopView::kCartTileTag);
    EXPECT_TRUE(shop->isOver());
    EXPECT_EQ(far->frame(), platform::ui::Rect(304 - 146 - 10, 212 - 44, 146, 162));
    EXPECT_TRUE(drive("expect id=doDiscard\nexpect-not id=doAddToCart\n").ok) << "a cart tile offers removal";
}

} // namespace
