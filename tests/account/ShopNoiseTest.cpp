// Random bodies of the shop's and the top-up's replies while the shop and a top-up
// panel are open: each is read or dropped, and the shop still works afterwards.
#include "account/ShopView.h"
#include "account/TopupZelView.h"
#include "app/KavoOnlineAppDelegate.h"
#include "net/MobileClient.h"
#include "tests/account/ShopTestSupport.h"

#include <random>

using namespace kavo;
using namespace kavo::test;

namespace {

class ShopNoise : public ShopFixture {};

TEST_F(ShopNoise, RandomRepliesLeaveTheShopAndThePanelWorking) {
    signIn();
    ASSERT_DRIVE("tap id=btnNapZel\nwait id=ShopView\ntap id=btnVatPham\n");
    auto top = KavoOnlineAppDelegate::getInstance().topViewController();
    auto panel = TopupZelView::make({0, 0, 480, 320});
    top->view()->addSubview(panel);

    std::mt19937 random(2026);
    const int16_t commands[] = {44, 71, 101, 1202, 1203, 2703};
    for (int round = 0; round < 40; ++round) {
        for (int16_t command : commands) {
            Message noise(command);
            const int length = int(random() % 40);
            for (int i = 0; i < length; ++i)
                noise.writeByte(int8_t(random() % 256));
            ASSERT_TRUE(portal().sendToClient(noise));
        }
    }
    ASSERT_TRUE(clientCaughtUp()) << "the noise was not read";
    EXPECT_TRUE(MobileClient::getInstance().isConnected());
    const auto& shop = ShopView::getInstance();
    reply(channelList(), [&] { return shop->listNapZel().size() == 6 && panel->listMoney().size() == 6; });
    portal().clearMessages();
    shop->doChangeTab(ShopView::kTabLichSu);
    EXPECT_TRUE(waitFor(2703, 1));
}

} // namespace
