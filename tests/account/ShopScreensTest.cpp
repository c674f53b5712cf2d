// Pictures of the shop's screens on a phone and on a tablet, written into the build
// folder (screenshots/shop-*.png) for a person to look at.
#include "account/GiftChoice.h"
#include "account/GiftPageView.h"
#include "account/ShopView.h"
#include "account/TopupZelView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "platform/ui/Image.h"
#include "platform/ui/Screen.h"
#include "tests/account/ShopTestSupport.h"
#include "tests/support/client/ReadableScreen.h"

#include <filesystem>

using namespace kavo;
using namespace kavo::test;

namespace {

class ShopScreens : public ShopFixture, public ::testing::WithParamInterface<platform::ui::Idiom> {
protected:
    // `judged`: the identifier of the panel whose texts must read whole and apart ("": not
    // read).
    std::string shot(const std::string& name, const std::string& judged = "") {
        const std::filesystem::path folder = std::filesystem::current_path() / "screenshots";
        std::filesystem::create_directories(folder);
        const std::string idiom = GetParam() == platform::ui::Idiom::Tablet ? "tablet" : "phone";
        const std::string path = (folder / ("shop-" + name + "-" + idiom + ".png")).string();
        const auto result = drive("advance 0.5\nshot " + path + "\n");
        EXPECT_TRUE(result.ok) << result.message;
        auto image = platform::ui::Image::fromFile(path);
        EXPECT_TRUE(image) << path;
        if (image) {
            EXPECT_EQ(image->width(), GetParam() == platform::ui::Idiom::Tablet ? 1024 : 480);
        }
        if (!judged.empty()) {
            const platform::ui::View* panel = visibleViewWithIdentifier(judged);
            EXPECT_TRUE(panel) << judged;
            if (panel) {
                EXPECT_EQ(describe(unreadableTexts(panel)), "") << path;
            }
        }
        return path;
    }
};

TEST_P(ShopScreens, TheShopItsPanelsAndAGiftPageAreDrawnForThisDevice) {
    platform::ui::Screen::setIdiom(GetParam());
    signIn();
    auto lan = std::make_shared<Player>();
    lan->setIDDB(7001);
    lan->setName("lan");
    Resources::getInstance().setListMyFriends({lan});
    const auto& shop = ShopView::getInstance();
    // The top-up, offers and history tabs are read on the portal stub (ReadingShotsTest);
    // the items tab here with a page of each kind.
    ASSERT_DRIVE("tap id=btnNapZel\nwait id=ShopView\n");
    reply(channelList(), [&] { return shop->listNapZel().size() == 6; });
    ASSERT_DRIVE("tap id=btnVatPham\n");
    reply(itemPage({{101, 1000}, {102, 2000}}), [&] { return shop->arrTotal().size() == 2; });
    reply(avatarPage({{21, 3000}}), [&] { return shop->arrTotal().size() == 3; });
    shot("vatpham", "ShopView");
    ASSERT_DRIVE("tap id=tile10001\nwait id=ShopViewDetail\ntap id=doPresent\n");
    shot("detail", "ShopView");
    UIController::closeDialog();
    ShopView::getInstance()->resetForTesting();

    auto top = KavoOnlineAppDelegate::getInstance().topViewController();
    auto panel = TopupZelView::make(Util::changeRectFromRect({0, 0, 480, 320}));
    top->view()->addSubview(panel);
    reply(channelList(), [&] { return panel->listMoney().size() == 6; });
    shot("topup");
    ASSERT_DRIVE("tap text=Thẻ gate\nwait id=txfSeriesNumber\n");
    shot("card", "TopupZelByCardView");
    panel->hideTopupView();

    auto items = std::make_shared<ItemsOfCategory>();
    for (int i = 0; i < 7; ++i) {
        auto item = std::make_shared<ItemInfo>();
        item->setItemId(300 + i);
        item->setPrice(50 * (i + 1));
        items->itemList().push_back(item);
    }
    auto page = GiftPageView::initWithPageNumber(0, items);
    page->setMnuGift(std::make_shared<GiftChoice>());
    page->mnuGift()->setSelectedGiftId(302);
    top->view()->addSubview(page->view());
    shot("gift-page");
    EXPECT_EQ(page->markedItem(), 302);
}

INSTANTIATE_TEST_SUITE_P(Devices, ShopScreens,
                         ::testing::Values(platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet), idiomName);

} // namespace
