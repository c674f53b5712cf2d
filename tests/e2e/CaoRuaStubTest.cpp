// scripts/caorua.drive against the local portal stub, on the manual clock: the stub
// seats the player at its six-place Cao Rua table, buzzes back, deals a hand, turns
// the stub players' cards and reveals every hand; its players get ready again for the
// script's second hand.
#include "app/UIController.h"
#include "games/caorua/CaoRuaView.h"
#include "platform/runtime/RunLoop.h"
#include "table/base/TienLenPlayer.h"
#include "table/registry/GameController.h"
#include "tests/e2e/StubDrive.h"
#include "tests/support/client/ClientTestSupport.h"

#include <cstdlib>
#include <fstream>

namespace kavo::test {
namespace {

class CaoRuaStub : public StubDriveFixture {
protected:
    // A hand of six seconds instead of ten: the script's peek still fits in it.
    CaoRuaStub() : StubDriveFixture({{"KAVO_STUB_CAORUA_PAUSE", "6"}}) {}
};

TEST_F(CaoRuaStub, TheScriptPlaysAHandAtTheSixPlaceTableAndItsPlayersGetReadyAgain) {
    const auto [first, second] = splitScriptAt(stubDriveScript("caorua.drive"), "# The second hand");
    ASSERT_NE(first.find("tap id=btnCaoRua"), std::string::npos) << "the script was read";
    ASSERT_NE(second.find("tap id=btnNanBai"), std::string::npos) << "the script plays a second hand";
    const auto [sit, hand] = splitScriptAt(first, "tap id=btnStart");
    launch();
    ASSERT_TRUE(drives(sit));
    const int64_t before = UIController::myInfo()->money();
    ASSERT_TRUE(drives(hand));
    auto table = GameController::getCaoRuaView();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->seats(), (std::array<int, 6>{0, 1, 2, 3, 4, 5}));
    int seated = 0;
    for (const auto& player : table->players())
        seated += player->IDDB() != -1 ? 1 : 0;
    EXPECT_EQ(seated, 4) << "the player and three stub players";
    auto lan = std::dynamic_pointer_cast<TienLenPlayer>(table->playerWithId(4001));
    ASSERT_TRUE(lan && lan->cards());
    for (const auto& card : *lan->cards())
        EXPECT_NE(card->cardView().accessibilityIdentifier(), "cardBack") << "the reveal showed lan's hand";
    EXPECT_FALSE(table->peek().isPeeking()) << "the peek ended with the stub's echo";
    EXPECT_EQ(table->btnStart()->titleForState(platform::ui::ControlState::Normal), text("KAVO_start"))
        << "continue brought the owner's start back";
    const int64_t change = UIController::myInfo()->money() - before;
    EXPECT_TRUE(change == 300 || change == -100) << "the hand settled at board 1's stake of 100: " << change;
    // The stub players get ready again for the second hand of the script (played over the
    // wire by CaoRuaHands).
    EXPECT_TRUE(platform::RunLoop::main().runUntil(
        [&] {
            advance(0.1);
            return lan->isReady() != 0;
        },
        kStateWait))
        << "lan is ready again";
}

} // namespace
} // namespace kavo::test
