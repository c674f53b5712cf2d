// The Tien Len MB logic handler driving its table screen on the manual clock: both
// instant-win tests at a deal, the ready flags a start clears, a first match that only
// my join begins, and the game over and instant win that stop the game first.
#include "app/Resources.h"
#include "app/UIController.h"
#include "games/tienlenmb/TienLenMBLogicHandler.h"
#include "games/tienlenmb/TienLenMBView.h"
#include "platform/ui/Button.h"
#include "portal/GlobalService.h"
#include "table/base/TienLenPlayer.h"
#include "table/cards/CardView.h"
#include "table/registry/GameController.h"
#include "tests/table/TableTestSupport.h"

namespace kavo::test {
namespace {

constexpr int32_t kMe = 10;
constexpr int32_t kBinh = 20;
constexpr int32_t kChi = 30;

std::shared_ptr<TienLenPlayer> seated(int32_t id, const std::string& name, int8_t ready) {
    return playerRecord<TienLenPlayer>(id, name, 50000, 0, ready);
}

// The three of spades with the three of clubs, then the black pairs of fours and fives.
const std::vector<uint8_t> kThreePairs{9, 0, 14, 4, 19, 1, 26, 8, 31, 5, 38, 43, 47};
const std::vector<uint8_t> kOrdinary{30, 1, 45, 6, 9, 13, 17, 22, 26, 31, 38, 42, 50};
const std::vector<uint8_t> kWithThree{30, 0, 45, 6, 9, 13, 17, 22, 26, 31, 38, 42, 50};

class TienLenMBTable : public TableTest {
protected:
    void SetUp() override {
        TableTest::SetUp();
        auto me = UIController::myInfo();
        me->setIDDB(kMe);
        me->setName("an");
        UIController::setGameType(12);
        Resources::getInstance().initAfterLogin();
        GlobalService::getInstance().setSession(&client);
    }
    TienLenLogicHandler& logic() { return TienLenMBLogicHandler::getInstance(); }

    // I join room 1, board 4 as the owner with Binh and Chi, both ready.
    std::shared_ptr<TienLenMBView> sit() {
        logic().onJoinGameSuccessWithRoomId(
            1, 4, kMe, 500,
            {seated(kMe, "an", 0), seated(kBinh, "binh", 1), seated(kChi, "chi", 1), seated(-1, "", 0)});
        runMainThread();
        client.clear();
        return GameController::getTienLenMBView();
    }
    void deal(std::vector<uint8_t> cards, int32_t first) {
        logic().onStartGameWithRoomId(1, 4, std::move(cards), 20, first);
        runMainThread();
    }
    size_t claims() const {
        size_t count = 0;
        for (const auto& message : client.sent())
            count += message.commandId == 53 && message.body == ByteVector{1, 4} ? 1 : 0;
        return count;
    }
};

TEST_F(TienLenMBTable, MyJoinOpensTheMBScreenInItsFirstMatch) {
    auto table = sit();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->gameType(), 12);
    EXPECT_TRUE(table->isFirstMatch());
    EXPECT_FALSE(GameController::getTienLenView()) << "the Tien Len screen is not made";
}

TEST_F(TienLenMBTable, InstantWinClaimsFollowBothTestsAtTheDeal) {
    struct Case {
        const char* what;
        bool firstMatch;
        std::vector<uint8_t> cards;
        int32_t first;
        size_t claims;
    };
    const Case cases[] = {
        {"four 2s and the three pairs: both tests pass",
         true,
         {0, 48, 1, 49, 4, 50, 5, 51, 8, 9, 20, 30, 40},
         kBinh,
         2},
        {"four threes in the first match after joining",
         true,
         {3, 2, 1, 0, 8, 12, 17, 22, 26, 31, 36, 41, 45},
         kBinh,
         1},
        {"four threes in a later match", false, {3, 2, 1, 0, 8, 12, 17, 22, 26, 31, 36, 41, 45}, kBinh, 0},
        {"the three pairs in the first match, another moves first", true, kThreePairs, kBinh, 1},
        {"the three pairs in a later match, another moves first", false, kThreePairs, kBinh, 0},
        {"the three pairs in a later match, I move first", false, kThreePairs, kMe, 1},
        {"the pairs without the three of clubs", true, {0, 2, 4, 5, 8, 9, 14, 19, 26, 31, 38, 43, 47}, kMe, 0},
        {"an ordinary hand", true, kOrdinary, kMe, 0},
        {"a hand cut short", true, {0, 1, 4, 5, 8, 9}, kMe, 0},
    };
    for (const auto& c : cases) {
        auto table = sit();
        table->setIsFirstMatch(c.firstMatch);
        deal(c.cards, c.first);
        EXPECT_EQ(claims(), c.claims) << c.what;
        EXPECT_FALSE(table->isFirstMatch()) << c.what << ": the start ends the first match";
        logic().onStopGameWithRoomId(1, 4, -1, {});
        runMainThread();
    }
}

TEST_F(TienLenMBTable, AfterAStartEveryPlayerShowsNotReady) {
    auto table = sit();
    logic().onSomeOneReadyWithId(kBinh, true);
    runMainThread();
    deal(kOrdinary, kBinh);
    for (const auto& player : table->players())
        EXPECT_EQ(player->isReady(), 0) << player->IDDB();
}

TEST_F(TienLenMBTable, SeatChangesAndGameOverLeaveTheFirstMatchAlone) {
    auto table = sit();
    logic().onSomeOneJoinBoardWithSeat(3, seated(40, "dung", 0));
    runMainThread();
    logic().onSomeOneLeaveBoardWithIdLeave(40, kMe);
    logic().onStopGameWithRoomId(1, 4, -1, {});
    runMainThread();
    EXPECT_TRUE(table->isFirstMatch()) << "still the first match after joining";
    deal(kWithThree, kMe);
    EXPECT_TRUE(table->forceMove3Bich()) << "I open the first match: the three of spades is due";
    logic().onStopGameWithRoomId(1, 4, -1, {});
    runMainThread();
    logic().onSomeOneJoinBoardWithSeat(3, seated(40, "dung", 0));
    runMainThread();
    EXPECT_FALSE(table->isFirstMatch()) << "a sit-down does not begin a first match";
    deal(kWithThree, kMe);
    EXPECT_FALSE(table->forceMove3Bich()) << "no duty in the second match";
}

TEST_F(TienLenMBTable, GameOverStopsTheGameThenLaysOutTheShownHand) {
    auto table = sit();
    deal(kOrdinary, kBinh);
    logic().onMoveWithRoomId(1, 4, kBinh, {5}, kChi);
    runMainThread();
    logic().onStopGameWithRoomId(1, 4, kChi, {7, 3});
    runMainThread();
    EXPECT_FALSE(table->isStartGame());
    EXPECT_FALSE(table->disableReady());
    ASSERT_EQ(table->cardShows().size(), 2u) << "the hand laid out after the stop stays";
    EXPECT_EQ(table->cardShows()[0]->cardID(), 3);
    EXPECT_TRUE(table->cardShows()[0]->superview()) << "on the table";
}

TEST_F(TienLenMBTable, AnInstantWinStopsTheGameAndShowsTheWinnersCards) {
    auto table = sit();
    deal(kOrdinary, kBinh);
    ASSERT_TRUE(table->isStartGame());
    logic().onForceFinishWithRoomId(1, 4, CardInfo{{48, 49, 50, 51}, kBinh});
    runMainThread();
    EXPECT_FALSE(table->isStartGame());
    ASSERT_EQ(table->cardShows().size(), 4u);
    EXPECT_TRUE(table->cardShows()[3]->superview());
    std::vector<int> positions;
    for (const auto& player : table->players())
        if (player->IDDB() != -1) positions.push_back(player->finishPosition());
    EXPECT_EQ(positions, (std::vector<int>{3, 4, 3}));
}

TEST_F(TienLenMBTable, MyReadyAlsoSetsMyInfoAndTheKickNamesTheControlsTag) {
    auto table = sit();
    logic().onSomeOneReadyWithId(kMe, true);
    runMainThread();
    EXPECT_EQ(UIController::myInfo()->isReady(), 1);
    platform::ui::Button control;
    control.setTag(kChi);
    table->kickPlayer(control);
    EXPECT_TRUE(client.sentOnce(11, {1, 4, 0, 0, 0, 30}));
}

} // namespace
} // namespace kavo::test
