// scripts/coup.drive headless against the portal stub's hidden-piece table, on the
// manual clock: the stub is listed as "Stub" here and each of the script's pauses also
// moves the clock.
#include "app/UIController.h"
#include "games/cotuong/CCBoard.h"
#include "games/coup/CoUpPiece.h"
#include "games/coup/CoUpView.h"
#include "platform/runtime/RunLoop.h"
#include "table/GameController.h"
#include "tests/e2e/StubProcess.h"
#include "tests/support/client/ClientTestSupport.h"

#include <cstdlib>
#include <fstream>

namespace kavo::test {
namespace {

class CoUpStub : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        ASSERT_TRUE(stub_.ready()) << "the stub did not start";
        storeServerList("Stub|127.0.0.1:" + std::to_string(stub_.port()));
    }
    static std::string script() {
        const char* source = std::getenv("KAVO_SOURCE_DIR");
        std::ifstream file(std::string(source ? source : ".") + "/scripts/coup.drive");
        std::string text;
        for (std::string line; std::getline(file, line);) {
            if (line.rfind("sleep ", 0) == 0) line += "\nadvance " + line.substr(6);
            for (size_t at; (at = line.find("Kavo Local")) != std::string::npos;)
                line.replace(at, 10, "Stub");
            text += line + "\n";
        }
        return text;
    }
    StubProcess stub_;
};

TEST_F(CoUpStub, ThePlayerStartsRevealsAPieceByItsFirstMoveAndSeesTheStubsCapture) {
    const std::string steps = script();
    ASSERT_NE(steps.find("tap id=mark_4_2"), std::string::npos) << "the script was read";
    launch();
    auto result = drive(steps);
    ASSERT_TRUE(result.ok) << result.message << "\n" << log();
    auto table = GameController::getCoUpView();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->black(), "khach") << "the player moves first and plays black";
    auto moved = std::dynamic_pointer_cast<CoUpPiece>(table->board()->getUnitAtPoint(4, 2));
    ASSERT_TRUE(moved);
    EXPECT_FALSE(moved->isFaceDown()) << "the first move named the piece";

    // The stub player answers a second later, taking a piece of mine.
    EXPECT_TRUE(platform::RunLoop::main().runUntil(
        [&] {
            advance(0.1);
            return table->turn() == UIController::myInfo()->IDDB();
        },
        10));
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
        10))
        << "the captured piece is listed";
}

} // namespace
} // namespace kavo::test
