// scripts/tienlenmb.drive against the portal stub, headless on the manual clock, and
// the stub's Tien Len MB table over a bare wire: its players follow suit.
#include "app/UIController.h"
#include "games/tienlenmb/TienLenMBView.h"
#include "platform/runtime/RunLoop.h"
#include "table/cards/CardView.h"
#include "table/registry/GameController.h"
#include "tests/e2e/StubDrive.h"
#include "tests/e2e/StubWire.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>

namespace kavo::test {
namespace {

class TienLenMBStub : public StubDriveFixture {
protected:
    // The stub players think a fifth of a second.
    TienLenMBStub() : StubDriveFixture({{"KAVO_STUB_TIENLEN_PAUSE", "0.2"}}) {}
};

TEST_F(TienLenMBStub, TheDriveScriptOpensWithTheThreeOfSpadesAtAnMBBoardThenPassesThroughTheGame) {
    const auto [opening, games] = splitScriptAt(stubDriveScript("tienlenmb.drive"), "# My turn: pass.");
    ASSERT_NE(opening.find("tap id=btnTLMB"), std::string::npos) << "the script was read";
    ASSERT_NE(games.find("tap id=btnSkip"), std::string::npos);
    launch();
    auto result = drive(opening);
    ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    auto table = GameController::getTienLenMBView();
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
    result = drive(firstGame + "wait id=btnStart 30\n");
    ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    EXPECT_EQ(UIController::myInfo()->money(), before - 100) << "the game lost at board 1's stake of 100";
    EXPECT_EQ(table->btnStart()->titleForState(platform::ui::ControlState::Normal), text("KAVO_continuee"))
        << "the game's result is on the table";
}

using TienLenMBStubWire = StubWire;

TEST_F(TienLenMBStubWire, TheStubPlayersFollowTheSuitOfASingle) {
    send(1, Bytes().utf("an").utf("123").utf("1.0").data());
    ASSERT_TRUE(next(3));
    send(61, {12});
    ASSERT_TRUE(next(61));
    send(8, Bytes().byte(1).byte(4).utf("").data());
    auto joined = next(8);
    ASSERT_TRUE(joined);
    joined->readByte();
    joined->readByte();
    const int32_t me = joined->readInt();
    ASSERT_TRUE(next(16));
    ASSERT_TRUE(next(16));

    send(20, {1, 4});
    auto dealt = next(20);
    ASSERT_TRUE(dealt);
    dealt->readByte();
    dealt->readByte();
    dealt->readByte();
    std::vector<int> hand;
    for (int i = 0; i < 13; ++i)
        hand.push_back(dealt->readByte());
    EXPECT_EQ(dealt->readInt(), me) << "the holder of the three of spades opens";
    ASSERT_EQ(std::count(hand.begin(), hand.end(), 0), 1);

    send(21, Bytes().byte(1).byte(4).byte(1).byte(0).data());
    ASSERT_TRUE(next(21));
    if (auto answer = next(21, -1, 3)) {
        answer->readByte();
        answer->readByte();
        EXPECT_EQ(answer->readInt(), 4001);
        EXPECT_EQ(answer->readByte(), 1) << "a single on a single";
        const int card = answer->readByte();
        EXPECT_TRUE(card % 4 == 0 || card >= 48) << "a spade or a 2 on the three of spades: " << card;
    } else {
        EXPECT_TRUE(next(49)) << "without a spade or a 2 the stub player skips";
    }
}

} // namespace
} // namespace kavo::test
