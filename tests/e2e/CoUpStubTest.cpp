// scripts/coup.drive headless against the portal stub's hidden-piece table, on the
// manual clock: the stub is listed as "Stub" here and each of the script's pauses also
// moves the clock.
#include "app/UIController.h"
#include "games/cotuong/CCBoard.h"
#include "games/coup/CoUpChessMan.h"
#include "games/coup/CoUpView.h"
#include "platform/runtime/RunLoop.h"
#include "table/registry/GameController.h"
#include "tests/e2e/StubDrive.h"
#include "tests/support/client/ClientTestSupport.h"

#include <cstdlib>
#include <fstream>

namespace kavo::test {
namespace {

class CoUpStub : public StubDriveFixture {};

TEST_F(CoUpStub, ThePlayerStartsRevealsAPieceByItsFirstMoveSeesTheStubsCaptureAndPlaysASecondGame) {
    const auto [steps, rest] = splitScriptAt(stubDriveScript("coup.drive"), "# Resign the first game");
    ASSERT_NE(steps.find("tap id=mark_4_2"), std::string::npos) << "the script was read";
    ASSERT_NE(rest.find("tap id=btnLose"), std::string::npos);
    launch();
    ASSERT_TRUE(drives(steps));
    auto table = GameController::getCoUpView();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->black(), "khach") << "the player moves first and plays black";
    auto moved = std::dynamic_pointer_cast<CoUpChessMan>(table->board()->getUnitAtPoint(4, 2));
    ASSERT_TRUE(moved);
    EXPECT_FALSE(moved->isFaceDown()) << "the first move named the piece";

    // The stub player answers a second later, taking a piece of mine.
    EXPECT_TRUE(platform::RunLoop::main().runUntil(
        [&] {
            advance(0.1);
            return table->turn() == UIController::myInfo()->IDDB();
        },
        kStateWait));
    advance(0.5);
    EXPECT_EQ(table->board()->getAllPieces().size(), 31u);
    table->clickViewPlayer();
    EXPECT_TRUE(platform::RunLoop::main().runUntil(
        [&] {
            advance(0.1);
            for (const auto& view : table->bgViewCoAn()->subviews())
                if (view->tag() == CoUpView::kIconTag) return true;
            return false;
        },
        kStateWait))
        << "the captured piece is listed";

    // I resign; the stub player gets ready again and opens the second game.
    ASSERT_TRUE(drives(rest));
    EXPECT_EQ(table->black(), "may") << "the first move alternates";
    auto second = std::dynamic_pointer_cast<CoUpChessMan>(table->board()->getUnitAtPoint(4, 2));
    ASSERT_TRUE(second);
    EXPECT_FALSE(second->isFaceDown()) << "the second game's first move named its piece too";
}

} // namespace
} // namespace kavo::test
