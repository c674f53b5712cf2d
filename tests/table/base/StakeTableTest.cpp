// What the stake tables do with time once a hand or the table is over: the start button
// that comes back after a moment, and delayed steps of a reset table that never act.
#include "app/UIController.h"
#include "games/baicao/BaiCaoView.h"
#include "games/xizach/XiZachLogicHandler.h"
#include "games/xizach/XiZachView.h"
#include "platform/runtime/RunLoop.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/BCCardView.h"
#include "table/registry/GameController.h"
#include "tests/table/TableTestSupport.h"

namespace kavo::test {
namespace {

std::shared_ptr<TienLenPlayer> player(int32_t id, const std::string& name) {
    return playerRecord<TienLenPlayer>(id, name, 5000, 0, 1);
}

class StakeTable : public TableTest {
protected:
    void SetUp() override {
        TableTest::SetUp();
        me = player(7, "me");
        UIController::setMyInfo(me);
    }
    template <class View> std::shared_ptr<View> seat() {
        auto screen = std::make_shared<View>();
        screen->setRoomId(2);
        screen->setBoardId(5);
        GameController::setTableView(screen);
        push(screen);
        UIController::setGameType(screen->gameType());
        screen->resetView();
        screen->setupPlayersWithRoom(2, 5, 7, 100, {me, player(8, "an"), player(9, "binh"), player(10, "cuong")});
        screen->resetSeat();
        client.clear();
        return screen;
    }
    static std::string title(const platform::ui::Button& button) {
        return button.titleForState(platform::ui::ControlState::Normal);
    }
    static size_t cardsOn(StakeTableView& table) { return table.view()->subviewsOfType<BCCardView>().size(); }
    std::shared_ptr<TienLenPlayer> me;
};

TEST_F(StakeTable, AfterAHandTheStartButtonComesBackATenthOfASecondAfterEveryoneIsUnready) {
    auto table = seat<BaiCaoView>();
    table->startWithInterval(20, {1, 2, 3});
    table->stopGame();
    table->resetReady();
    EXPECT_EQ(table->players()[1]->isReady(), 0);
    EXPECT_EQ(title(*table->btnStart()), text("KAVO_continuee"));
    platform::RunLoop::main().advance(0.1);
    EXPECT_EQ(title(*table->btnStart()), text("KAVO_start"));
}

TEST_F(StakeTable, AResetTableDealsNoMoreAndItsPendingStepsDoNothing) {
    auto table = seat<BaiCaoView>();
    table->startWithInterval(20, {1, 2, 3});
    platform::RunLoop::main().advance(0.3);
    EXPECT_EQ(cardsOn(*table), 3u);
    table->stopGame();
    table->resetReady();
    table->resetView();
    EXPECT_EQ(cardsOn(*table), 0u);
    platform::RunLoop::main().advance(2);
    EXPECT_EQ(cardsOn(*table), 0u);
    EXPECT_FALSE(table->dealer().isDealing());
    EXPECT_EQ(title(*table->btnStart()), text("KAVO_continuee")) << "the reset dropped the pending start button";
}

TEST_F(StakeTable, TheDealerDealsEachCardOfItsPlanAndNoMore) {
    for (auto [seats, passes] : {std::pair{1, 1}, {4, 3}, {6, 2}}) {
        DealStepper dealer;
        int dealt = 0;
        bool finished = false;
        dealer.start(
            {seats, passes, 0.15}, [](int, int) { return true; }, [&](int, int) { ++dealt; }, nullptr,
            [&] { finished = true; });
        platform::RunLoop::main().advance(0.15 * seats * passes + 1);
        EXPECT_TRUE(finished);
        EXPECT_EQ(dealt, seats * passes) << seats << " seats, " << passes << " passes";
    }
}

// Peeking, turning and standing come with a deal; a sit-down at the place past the four
// is dropped.
TEST_F(StakeTable, ThePlayButtonsComeWithADealAndASitDownAtNoPlaceIsDropped) {
    auto baiCao = seat<BaiCaoView>();
    auto xiZach = seat<XiZachView>();
    for (auto* table : {static_cast<StakeTableView*>(baiCao.get()), static_cast<StakeTableView*>(xiZach.get())})
        for (const auto& button : {table->btnFire(), table->btnSkip(), table->btnAutoSelected()})
            EXPECT_TRUE(button->isHidden()) << button->accessibilityIdentifier() << " before a deal";
    xiZach->startWithInterval(15, 7, {1, 2});
    EXPECT_FALSE(xiZach->btnFire()->isHidden());
    EXPECT_FALSE(xiZach->btnAutoSelected()->isHidden()) << "my turn: stand";
    XiZachLogicHandler::getInstance().onSomeOneJoinBoardWithSeat(4, player(60, "giang"));
    runMainThread();
    EXPECT_EQ(xiZach->getSeatFromID(60), -1);
    EXPECT_EQ(xiZach->players().size(), 4u);
}

TEST_F(StakeTable, AResetEndsTheMoneySoundsMute) {
    auto table = seat<XiZachView>();
    table->addHandAmount(8, 100);
    EXPECT_TRUE(table->waitToPlayNextSound());
    table->resetView();
    EXPECT_FALSE(table->waitToPlayNextSound());
    table->addHandAmount(8, 100);
    platform::RunLoop::main().advance(1.5);
    EXPECT_FALSE(table->waitToPlayNextSound());
}

} // namespace
} // namespace kavo::test
