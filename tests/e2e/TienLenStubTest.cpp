// scripts/tienlen.drive against the portal stub, headless on the manual clock: the
// player sits, starts, is dealt and opens with the three of spades; the card lands on
// the table and the stub's players answer.
#include "app/UIController.h"
#include "games/tienlen/TienLenView.h"
#include "games/tienlenmb/TienLenMBView.h"
#include "platform/runtime/RunLoop.h"
#include "table/cards/CardView.h"
#include "table/registry/GameController.h"
#include "tests/e2e/StubDrive.h"
#include "tests/e2e/StubWire.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"

#include <algorithm>

namespace kavo::test {
namespace {

// A board's drive script, the button that opens its board list, and its table.
struct StubBoard {
    const char* script;
    const char* openedBy;
    std::shared_ptr<TienLenView> (*table)();
};

class TienLenStub : public StubDriveFixture, public ::testing::WithParamInterface<StubBoard> {
protected:
    // The stub players think a fifth of a second.
    TienLenStub() : StubDriveFixture({{"KAVO_STUB_TIENLEN_PAUSE", "0.2"}}) {}
};

TEST_P(TienLenStub, ThePlayerOpensWithTheThreeOfSpadesThenPassesThroughAGameThatCostsTheStake) {
    const auto [opening, games] = splitScriptAt(stubDriveScript(GetParam().script), "# My turn: pass.");
    ASSERT_NE(opening.find(GetParam().openedBy), std::string::npos) << "the script was read";
    ASSERT_NE(games.find("tap id=btnSkip"), std::string::npos);
    launch();
    ASSERT_TRUE(drives(opening));
    auto table = GetParam().table();
    ASSERT_TRUE(table);
    std::vector<int> hand;
    for (const auto& card : table->myHand())
        hand.push_back(card->cardID());
    EXPECT_EQ(hand.size(), 12u) << "the three of spades left my hand";
    EXPECT_EQ(std::count(hand.begin(), hand.end(), 0), 0);
    const int64_t before = UIController::myInfo()->money();

    // I pass at every turn: the stub players play the game out and it ends with every
    // player's money. (The second game of the script is played the same way; the stub's
    // wire tests play two games.)
    const auto [firstGame, secondGame] = splitScriptAt(games, "# The first game's result");
    ASSERT_NE(secondGame.find("tap id=btnSkip"), std::string::npos);
    ASSERT_TRUE(drives(firstGame + "wait id=btnStart 30\n"));
    // The money comes in the stub's next message, after the result that shows the button.
    EXPECT_TRUE(
        platform::RunLoop::main().runUntil([&] { return UIController::myInfo()->money() != before; }, kStateWait));
    EXPECT_EQ(UIController::myInfo()->money(), before - 100) << "the game lost at board 1's stake of 100";
    EXPECT_EQ(table->btnStart()->titleForState(platform::ui::ControlState::Normal), text("KAVO_continuee"))
        << "the game's result is on the table";
}

INSTANTIATE_TEST_SUITE_P(
    Boards, TienLenStub,
    ::testing::Values(StubBoard{"tienlen.drive", "tap id=btnFire", [] { return GameController::getTienLenView(); }},
                      StubBoard{"tienlenmb.drive", "tap id=btnTLMB",
                                []() -> std::shared_ptr<TienLenView> { return GameController::getTienLenMBView(); }}),
    [](const auto& info) { return info.index == 0 ? "TienLen" : "TienLenMB"; });

// The same table over a bare wire connection: the deal, an opening, a refusal and the
// stub players' answers in the layouts of the table commands.
using TienLenStubWire = StubWire;

TEST_F(TienLenStubWire, TheStubDealsChecksPlaysAndAnswers) {
    const int32_t me = signInAndChoose("an", 3);
    ASSERT_NE(me, 0);
    ASSERT_NE(stakeAtJoin(4), -1);
    ASSERT_TRUE(next(16));
    ASSERT_TRUE(next(16));

    send(20, {1, 4});
    auto dealt = next(20);
    ASSERT_TRUE(dealt);
    EXPECT_EQ(dealt->readByte(), 1);
    EXPECT_EQ(dealt->readByte(), 4);
    EXPECT_EQ(dealt->readByte(), 20) << "the turn time";
    std::vector<int> hand;
    for (int i = 0; i < 13; ++i)
        hand.push_back(dealt->readByte());
    EXPECT_EQ(dealt->readInt(), me) << "the holder of the three of spades opens the first game";
    EXPECT_EQ(std::count(hand.begin(), hand.end(), 0), 1) << toHex(dealt->data());
    EXPECT_FALSE(dealt->available());

    const int8_t other = int8_t(*std::find_if(hand.begin(), hand.end(), [](int id) { return id != 0; }));
    send(21, Bytes().byte(1).byte(4).byte(1).byte(other).data());
    auto refused = next(54);
    ASSERT_TRUE(refused) << "the opening must hold the three of spades";
    EXPECT_EQ(refused->readByte(), 4) << "board first";
    EXPECT_EQ(refused->readByte(), 1);
    send(21, Bytes().byte(1).byte(4).byte(1).byte(0).data());
    auto mine = next(21);
    ASSERT_TRUE(mine);
    EXPECT_EQ(mine->data(), Bytes().byte(1).byte(4).int32(me).byte(1).byte(0).int32(4001).data());
    auto answer = next(21);
    ASSERT_TRUE(answer) << "the stub player answers";
    answer->readShort(); // room, board
    EXPECT_EQ(answer->readInt(), 4001);
    EXPECT_EQ(answer->readByte(), 1) << "a single on a single";
    EXPECT_GT(answer->readByte(), 0);
    EXPECT_EQ(answer->readInt(), 4002);
}

} // namespace
} // namespace kavo::test
