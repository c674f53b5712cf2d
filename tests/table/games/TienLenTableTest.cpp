// The Tien Len logic handler driving the table screen on the manual clock: the table
// check, the instant-win claim at a deal, the departure's wait, kicks, bonuses and the
// first-match and ready-button flags.
#include "app/KavoOnlineAppDelegate.h"
#include "app/KavoViewController.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "games/tienlen/TienLenLogicHandler.h"
#include "games/tienlen/TienLenView.h"
#include "games/tienlenmb/TienLenMBLogicHandler.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/SystemSound.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "portal/GlobalService.h"
#include "table/base/TienLenPlayer.h"
#include "table/registry/GameController.h"
#include "tests/platform/runtime/Marks.h"
#include "tests/support/client/OpenDialog.h"
#include "tests/table/TableTestSupport.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace kavo::test {
namespace {

constexpr int32_t kMe = 10;
constexpr int32_t kBinh = 20;
constexpr int32_t kChi = 30;

std::shared_ptr<TienLenPlayer> record(int32_t id, const std::string& name) {
    return playerRecord<TienLenPlayer>(id, name, 50000, 150);
}

// Signed in as "an" with 100,000, playing `gameType`, the requests going to `client`.
void signInToPlay(int8_t gameType, SentMessages& client) {
    auto me = UIController::myInfo();
    me->setIDDB(kMe);
    me->setName("an");
    me->setMoney(100000);
    UIController::setGameType(gameType);
    Resources::getInstance().initAfterLogin();
    GlobalService::getInstance().setSession(&client);
}

class TienLenTable : public TableTest {
protected:
    void SetUp() override {
        TableTest::SetUp();
        UIController::setSound(true);
        signInToPlay(3, client);
    }
    TienLenLogicHandler& logic() { return TienLenLogicHandler::getInstance(); }

    // I join room 1, board 4 as the owner with Binh and Chi.
    std::shared_ptr<TienLenView> sit() {
        auto me = record(kMe, "an");
        me->setMoney(90000);
        me->setExp(77);
        logic().onJoinGameSuccessWithRoomId(1, 4, kMe, 500,
                                            {me, record(kBinh, "binh"), record(kChi, "chi"), record(-1, "")});
        runMainThread();
        auto table = GameController::getTienLenView();
        client.clear();
        return table;
    }
    void deal(int8_t room, std::vector<uint8_t> cards, int32_t first = kMe) {
        logic().onStartGameWithRoomId(room, 4, std::move(cards), 20, first);
        runMainThread();
    }
    static std::vector<uint8_t> ordinaryHand() { return {30, 1, 45, 6, 9, 13, 17, 22, 26, 31, 38, 42, 50}; }
};

TEST_F(TienLenTable, MyJoinSeatsEveryoneAndCopiesMyEntryIntoMyInfo) {
    auto table = sit();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->players().size(), 4u) << "padded to four places";
    EXPECT_EQ(UIController::myInfo()->money(), 90000);
    EXPECT_EQ(UIController::myInfo()->exp(), 77);
    EXPECT_EQ(UIController::myInfo()->isReady(), 0);
    EXPECT_TRUE(table->isFirstMatch());
    EXPECT_FALSE(table->disableReady());
    EXPECT_EQ(table->getIDAtSeat(0), kMe);
    EXPECT_EQ(table->getIDAtSeat(1), kBinh);
    EXPECT_EQ(table->getIDAtSeat(2), kChi);
    EXPECT_EQ(table->playerWithId(kMe)->isReady(), 1) << "the owner's row is marked ready";
    EXPECT_EQ(table->playerWithId(kBinh)->isReady(), 0);
}

TEST_F(TienLenTable, CommandsForAnotherTableChangeNothingButTheReadyButtonAndThePositions) {
    auto table = sit();
    deal(2, {48, 49, 50, 51, 0, 4, 8, 12, 16, 20, 24, 28, 32});
    EXPECT_FALSE(table->isStartGame()) << "a start for another table deals nothing";
    EXPECT_TRUE(client.sent().empty()) << "and claims nothing";

    logic().onMoveWithRoomId(2, 4, kBinh, {5}, kMe);
    runMainThread();
    EXPECT_TRUE(table->disableReady()) << "a move anywhere turns my ready off";
    EXPECT_TRUE(table->currentCards().empty());

    deal(1, ordinaryHand(), kMe);
    ASSERT_TRUE(table->isStartGame());
    logic().onStopGameWithRoomId(2, 4, kBinh, {3, 7});
    runMainThread();
    EXPECT_TRUE(table->isStartGame()) << "a stop for another table ends nothing here";
    EXPECT_TRUE(table->cardShows().empty());

    logic().onForceFinishWithRoomId(2, 4, CardInfo{{48, 49, 50, 51}, kBinh});
    runMainThread();
    EXPECT_TRUE(table->cardShows().empty()) << "no cards shown for another table";
    std::vector<int> positions;
    for (const auto& player : table->players())
        if (player->IDDB() != -1) positions.push_back(player->finishPosition());
    EXPECT_EQ(positions, (std::vector<int>{3, 4, 3})) << "but the shown table's players are marked";
}

TEST_F(TienLenTable, AnInstantWinDealtInWireOrderSendsExactlyOneClaim) {
    sit();
    deal(1, {50, 0, 48, 7, 51, 13, 20, 49, 25, 30, 35, 40, 44}, kBinh);
    EXPECT_TRUE(client.sentOnce(53, {1, 4}));
    client.clear();
    deal(1, ordinaryHand(), kBinh);
    EXPECT_TRUE(client.sent().empty());
    deal(1, {50, 0, 48, 51, 49}, kBinh);
    EXPECT_TRUE(client.sent().empty()) << "a short hand claims nothing";
}

TEST_F(TienLenTable, FourThreesWinOnlyInTheFirstMatch) {
    auto table = sit();
    const std::vector<uint8_t> threes{3, 2, 1, 0, 8, 12, 17, 22, 26, 31, 36, 41, 45};
    logic().onStopGameWithRoomId(1, 4, -1, {});
    runMainThread();
    EXPECT_FALSE(table->isFirstMatch()) << "game over";
    deal(1, threes, kBinh);
    EXPECT_TRUE(client.sent().empty());
    logic().onSomeOneJoinBoardWithSeat(3, record(40, "dung"));
    runMainThread();
    EXPECT_TRUE(table->isFirstMatch()) << "somebody sat down";
    deal(1, threes, kBinh);
    EXPECT_TRUE(client.sentOnce(53, {1, 4}));
}

TEST_F(TienLenTable, TheDepartureHoldsTheReaderUntilTheSeatIsEmpty) {
    auto table = sit();
    platform::test::Marks marks;
    platform::RunLoop::main().setTestHook([&](platform::RunLoop::TestMoment moment) {
        if (moment == platform::RunLoop::TestMoment::AwaitsMain) marks.mark("reader waits");
    });
    std::atomic<bool> returned{false};
    std::thread reader([&] {
        logic().onSomeOneLeaveBoardWithIdLeave(kBinh, kMe);
        returned = true;
        marks.mark("reader returned");
    });
    // The main thread runs nothing until the reader either waits for it or returns.
    EXPECT_EQ(marks.waitForAny({"reader waits", "reader returned"}), "reader waits");
    EXPECT_FALSE(returned) << "still waiting for the main thread";
    EXPECT_EQ(table->getPlayerNameFromID(kBinh), "binh");
    while (!returned)
        platform::RunLoop::main().runPending();
    reader.join();
    platform::RunLoop::main().setTestHook(nullptr);
    EXPECT_TRUE(table->isFirstMatch());
    EXPECT_EQ(table->getPlayerNameFromID(kBinh), "");
    EXPECT_EQ(table->players()[1]->IDDB(), -1) << "the place stays, emptied";
    EXPECT_EQ(table->getIDAtSeat(2), kChi) << "two players face each other";
}

TEST_F(TienLenTable, AKickOfMePopsBelowTheTableAndSaysSo) {
    auto table = sit();
    auto over = std::make_shared<KavoViewController>();
    push(over);
    logic().onKickedWithRoomId(1, 4, kMe);
    runMainThread();
    platform::RunLoop::main().advance(1);
    runMainThread();
    auto& stack = KavoOnlineAppDelegate::getInstance().navigationController()->viewControllers();
    EXPECT_EQ(std::find(stack.begin(), stack.end(), table), stack.end()) << "the table is gone";
    EXPECT_EQ(stack.size(), 1u) << "back on the screen below it";
    EXPECT_EQ(openDialogCode(), 4);
    EXPECT_EQ(dialogText(), text("KAVO_youAreKicked"));
}

TEST_F(TienLenTable, AKickOfAnotherOnlyEmptiesHisPlace) {
    auto table = sit();
    logic().onKickedWithRoomId(1, 4, kChi);
    runMainThread();
    EXPECT_EQ(top(), table);
    EXPECT_EQ(table->players()[2]->IDDB(), -1);
    EXPECT_EQ(dialogText(), "");
}

TEST_F(TienLenTable, BonusesGoOnlyToSeatedPlayersAndMineToMyMoney) {
    auto table = sit();
    const int64_t before = UIController::myInfo()->money();
    logic().onBonusMoneyWithRommId(1, 4, kMe, 0, "nothing");
    logic().onBonusMoneyWithRommId(1, 4, 99, 500, "nobody");
    logic().onBonusMoneyWithRommId(2, 4, kMe, 500, "elsewhere");
    runMainThread();
    EXPECT_EQ(UIController::myInfo()->money(), before);
    EXPECT_TRUE(table->flyTexts().empty());
    logic().onBonusMoneyWithRommId(1, 4, kMe, 500, "chat heo");
    runMainThread();
    EXPECT_EQ(UIController::myInfo()->money(), before + 500);
    EXPECT_EQ(table->players()[0]->money(), 90500);
    EXPECT_EQ(table->flyTexts().size(), 1u);
}

TEST_F(TienLenTable, TheReadyButtonIsOffWhileMovesComeAndOnAgainAtGameOver) {
    auto table = sit();
    deal(1, ordinaryHand(), kBinh);
    logic().onMoveWithRoomId(1, 4, kBinh, {5}, kChi);
    runMainThread();
    EXPECT_TRUE(table->disableReady());
    logic().onStopGameWithRoomId(1, 4, kChi, {7, 3});
    runMainThread();
    EXPECT_FALSE(table->disableReady());
    EXPECT_FALSE(table->isFirstMatch());
    EXPECT_FALSE(table->isStartGame());
    ASSERT_EQ(table->cardShows().size(), 2u);
    EXPECT_EQ(table->cardShows()[0]->cardID(), 3) << "the shown hand is sorted";
}

TEST_F(TienLenTable, ANewStartOrTheContinueCancelsThePendingDeal) {
    auto table = sit();
    deal(1, ordinaryHand(), kBinh);
    platform::RunLoop::main().advance(0.5);
    runMainThread();
    const int halfway = table->indexCard();
    EXPECT_GT(halfway, 1);
    EXPECT_LT(halfway, 13);
    deal(1, {3, 7, 11, 15, 19, 23, 27, 31, 35, 39, 43, 47, 51}, kBinh);
    EXPECT_EQ(table->indexCard(), 1) << "the new deal starts over, alone";
    for (int pass = 0; pass < 40; ++pass) {
        platform::RunLoop::main().advance(0.1);
        runMainThread();
    }
    EXPECT_EQ(table->indexCard(), 13);
    const auto hand = table->myHand();
    ASSERT_EQ(hand.size(), 13u);
    EXPECT_EQ(hand.front()->cardID(), 3);
    for (const auto& card : hand)
        EXPECT_FALSE(card->isHidden()) << int(card->cardID());
    table->resetCard(true);
    deal(1, ordinaryHand(), kBinh);
    table->resetCard(true);
    platform::RunLoop::main().advance(3);
    runMainThread();
    EXPECT_EQ(table->indexCard(), 1) << "the continue stopped the chain";
}

TEST_F(TienLenTable, AutoSelectLiftsTheNextCardThatBeatsTheTable) {
    auto table = sit();
    deal(1, ordinaryHand(), kBinh);
    platform::RunLoop::main().advance(3);
    runMainThread();
    logic().onMoveWithRoomId(1, 4, kBinh, {5}, kMe);
    runMainThread();
    auto lifted = [&] {
        std::vector<int> ids;
        for (const auto& card : table->myHand())
            if (card->isSelected()) ids.push_back(card->cardID());
        return ids;
    };
    drive("tap id=btnAutoSelected");
    EXPECT_EQ(lifted(), std::vector<int>{6});
    EXPECT_TRUE(table->btnFire()->isEnabled());
    drive("tap id=btnAutoSelected");
    EXPECT_EQ(lifted(), std::vector<int>{9}) << "pressed again, the next one up";
}

TEST_F(TienLenTable, PlacesOutsideTheTableAreDropped) {
    logic().onJoinGameSuccessWithRoomId(
        1, 4, kMe, 500, {record(kMe, "an"), record(kBinh, "binh"), record(kChi, "chi"), record(40, "dung")});
    runMainThread();
    auto table = GameController::getTienLenView();
    ASSERT_TRUE(table);
    logic().onStopGameWithRoomId(1, 4, -1, {});
    logic().onSomeOneJoinBoardWithSeat(4, record(60, "giang"));
    logic().onSomeOneJoinBoardWithSeat(-1, record(61, "ha"));
    runMainThread();
    EXPECT_EQ(table->getPlayerNameFromID(60), "");
    EXPECT_EQ(table->getPlayerNameFromID(61), "");
    EXPECT_FALSE(table->isFirstMatch()) << "a sit-down at no place changes nothing";
}

struct DragCase {
    int8_t game;
    platform::ui::Idiom device;
};

class TienLenDragUp : public TableTest, public ::testing::WithParamInterface<DragCase> {
protected:
    platform::ui::Idiom idiom() const override { return GetParam().device; }
    void SetUp() override {
        TableTest::SetUp();
        signInToPlay(GetParam().game, client);
    }
    TienLenLogicHandler& logic() {
        if (GetParam().game == 12) return TienLenMBLogicHandler::getInstance();
        return TienLenLogicHandler::getInstance();
    }
};

// A drag up by mouse plays a lifted card when it takes the card by its raised top; taken
// low in the hand the drag is a reorder for its whole length, and the card drops back.
TEST_P(TienLenDragUp, PlaysALiftedCardTakenByItsRaisedTopAndReordersOneTakenLow) {
    auto binh = record(kBinh, "binh");
    binh->setIsReady(1);
    logic().onJoinGameSuccessWithRoomId(1, 4, kMe, 500, {record(kMe, "an"), binh, record(-1, ""), record(-1, "")});
    runMainThread();
    auto table = std::dynamic_pointer_cast<TienLenView>(GameController::getTableView(GetParam().game));
    ASSERT_TRUE(table);
    const auto threeOfSpades = [&] {
        for (const auto& card : table->myHand())
            if (card->cardID() == 0) return card;
        return std::shared_ptr<CardView>();
    };
    const double x = CardView::cardWidth() / 2.0;
    const std::string up = " 0 " + std::to_string(-120 * Util::iPadY());
    for (const bool low : {true, false}) {
        SCOPED_TRACE(low ? "taken low" : "taken by its raised top");
        logic().onStartGameWithRoomId(1, 4, {30, 0, 45, 6, 9, 13, 17, 22, 26, 31, 38, 42, 50}, 20, kMe);
        runMainThread();
        platform::RunLoop::main().advance(3);
        client.clear();
        drive("tap id=card0");
        const double y = low ? CardView::cardHeight() - 8 : 5;
        drive("drag-from id=card0 " + std::to_string(x) + " " + std::to_string(y) + up);
        platform::RunLoop::main().advance(0.5);
        EXPECT_EQ(client.commands(), low ? std::vector<int16_t>{} : std::vector<int16_t>{21});
        ASSERT_TRUE(threeOfSpades());
        EXPECT_EQ(threeOfSpades()->isSelected(), !low);
    }
}

INSTANTIATE_TEST_SUITE_P(TienLenAndMB, TienLenDragUp,
                         ::testing::Values(DragCase{3, platform::ui::Idiom::Phone},
                                           DragCase{3, platform::ui::Idiom::Tablet},
                                           DragCase{12, platform::ui::Idiom::Phone},
                                           DragCase{12, platform::ui::Idiom::Tablet}),
                         [](const auto& info) {
                             return std::string(info.param.game == 12 ? "MB" : "TienLen") +
                                    (info.param.device == platform::ui::Idiom::Tablet ? "Tablet" : "Phone");
                         });

} // namespace
} // namespace kavo::test
