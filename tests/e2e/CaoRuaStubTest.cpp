// scripts/caorua.drive against the local portal stub, on the manual clock: the stub
// seats the player at its six-place Cao Rua table, buzzes back, deals a hand, turns
// the stub players' cards and reveals every hand.
#include "games/caorua/CaoRuaView.h"
#include "table/GameController.h"
#include "table/TienLenPlayer.h"
#include "tests/e2e/StubDrive.h"
#include "tests/support/client/ClientTestSupport.h"

#include <cstdlib>
#include <fstream>

namespace kavo::test {
namespace {

class CaoRuaStub : public StubDriveFixture {};

TEST_F(CaoRuaStub, TheScriptPlaysAHandAtTheSixPlaceTable) {
    const std::string script = stubDriveScript("caorua.drive");
    ASSERT_NE(script.find("tap id=btnCaoRua"), std::string::npos) << "the script was read";
    launch();
    auto result = drive(script);
    ASSERT_TRUE(result.ok) << result.message << "\n" << log();
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
}

} // namespace
} // namespace kavo::test
