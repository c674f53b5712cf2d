// Pictures of the Bai Cao table with a peek open and of the Xi Zach table mid-game,
// phone and tablet, written into the build folder for a person to look at.
#include "app/Resources.h"
#include "app/UIController.h"
#include "games/baicao/BaiCaoView.h"
#include "games/xizach/XiZachView.h"
#include "platform/render/Renderer.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Image.h"
#include "table/base/TienLenPlayer.h"
#include "table/registry/GameController.h"
#include "tests/table/TableTestSupport.h"

namespace kavo::test {
namespace {

std::shared_ptr<TienLenPlayer> player(int32_t id, const std::string& name, bool ready = true) {
    return playerRecord<TienLenPlayer>(id, name, 250000, 0, ready);
}

class StakeTableShots : public TableShotsTest {
protected:
    void SetUp() override {
        TableShotsTest::SetUp();
        Resources::getInstance().initAfterLogin();
        me = player(7, "me");
        UIController::setMyInfo(me);
    }
    template <class View> std::shared_ptr<View> seat(int32_t owner) {
        auto screen = std::make_shared<View>();
        GameController::setTableView(screen);
        push(screen);
        UIController::setGameType(screen->gameType());
        screen->resetView();
        screen->setupPlayersWithRoom(1, 4, owner, 500, {me, player(8, "an"), player(9, "binh"), player(10, "cuong")});
        screen->resetSeat();
        return screen;
    }
    void shoot(const std::string& name) {
        receiveUnreadMail();
        const std::string path = "table-" + name + "-" + device() + ".png";
        expectReadable(path);
    }
    std::shared_ptr<TienLenPlayer> me;
};

TEST_P(StakeTableShots, BaiCaoMidHandWithAPeekOpen) {
    auto table = seat<BaiCaoView>(7);
    table->setMoneyOnBoard(1000, 8);
    table->startWithInterval(20, {5, 17, 51});
    platform::RunLoop::main().advance(2);
    table->moveWithPlayerId(9, {12, 30, 255});
    table->onChatFromWithId(10, "", "nhanh len");
    table->clickFire();
    platform::RunLoop::main().advance(0.5);
    ASSERT_TRUE(table->peek().isPeeking());
    shoot("baicao-peek");
}

TEST_P(StakeTableShots, XiZachMidGameWithADrawnCard) {
    auto table = seat<XiZachView>(8);
    table->startWithInterval(20, 9, {5, 44});
    platform::RunLoop::main().advance(2);
    table->getCardWithPlayerId(9, 255);
    table->getCardWithPlayerId(9, 255);
    table->getRemainTimeWithPlayerId(7, 20);
    table->showMyCardWithCard(StakeTableView::handOf(me)[0]);
    platform::RunLoop::main().advance(0.5);
    EXPECT_FALSE(table->imgNextMe()->isHidden());
    shoot("xizach");
}

// Every seat speaks at once over the dealt hands: the neighbours' bubbles lie apart and
// off my cards.
TEST_P(StakeTableShots, BaiCaoEverySeatsBubbleAtOnce) {
    auto table = seat<BaiCaoView>(7);
    table->startWithInterval(20, {5, 17, 51});
    platform::RunLoop::main().advance(3); // the last card lands
    for (int32_t id : {7, 8, 9, 10})
        table->onChatFromWithId(id, "", "nhanh lên nào");
    platform::RunLoop::main().advance(0.2);
    shoot("baicao-bubbles");
}

INSTANTIATE_TEST_SUITE_P(Devices, StakeTableShots,
                         ::testing::Values(platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet));

} // namespace
} // namespace kavo::test
