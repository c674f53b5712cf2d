// A join at a game whose table the local portal stub plays meets the board's own refusals
// before that table seats the player, as a join at any other game does: at Phom, Cao Rua,
// Chinese chess and its hidden-piece variant, the locked board of the list turns a wrong
// password away with the stub's notice and seats the one who gives "kavo", and the full
// board (6 of room 2, which the list does not show: the player asks for it by its number)
// turns everyone away.
#include "app/UIController.h"
#include "tests/e2e/StubDrive.h"
#include "tests/support/client/ClientTestSupport.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace kavo::test {
namespace {

struct TableGame {
    const char* name;
    // From the game grid to the game's board list.
    const char* toBoardList;
    const char* tableScreen;
};

void PrintTo(const TableGame& game, std::ostream* out) {
    *out << game.name;
}

class TableJoinOnTheStub : public StubDriveFixture, public ::testing::WithParamInterface<TableGame> {
protected:
    // Taps the locked board of the list (1,000 a stake) and gives `password`.
    ::testing::AssertionResult joinTheLockedBoard(const std::string& password) {
        return drives("tap text=1.000 zel\nadvance 0.5\nwait id=txtPassword 30\ntype id=txtPassword " + password +
                      "\nreturn id=txtPassword\n");
    }
    // The stub's notice `refusal` shows over the board list; the player closes it.
    ::testing::AssertionResult refusedWith(const std::string& refusal) {
        if (auto shown = drives("wait text=" + refusal + " 30\n"); !shown) return shown;
        UIController::closeDialog();
        return drives("advance 0.5\nscreen BoardView 30\n");
    }
};

TEST_P(TableJoinOnTheStub, TheLockedAndTheFullBoardRefuseBeforeTheTableSeatsThePlayer) {
    const TableGame& game = GetParam();
    launch();
    ASSERT_TRUE(drives("screen LoginView\nadvance 0.1\ntap id=btnSignIn_Clicked\ntype id=txfUsername khach\n"
                       "type id=txfPassword 123\ntap id=btnSignIn\nwait text=Stub\ntap text=Stub\n"
                       "screen GameView 30\nadvance 0.5\n" +
                       std::string(game.toBoardList) + "screen BoardView 30\nadvance 0.5\nwait text=1.000 zel 30\n"));
    for (const char* wrong : {"sai", "kav"}) {
        SCOPED_TRACE(wrong);
        ASSERT_TRUE(joinTheLockedBoard(wrong));
        ASSERT_TRUE(refusedWith("Sai mật khẩu bàn"));
    }
    ASSERT_TRUE(drives("tap id=btnGotoBoard\nadvance 0.5\ntype id=txtRoom 2\ntype id=txtBoard 6\nreturn id=txtPass\n"));
    ASSERT_TRUE(refusedWith("Bàn đã đủ người"));
    ASSERT_TRUE(joinTheLockedBoard("kavo"));
    EXPECT_TRUE(drives("screen " + std::string(game.tableScreen) + " 30\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Tables, TableJoinOnTheStub,
    ::testing::Values(TableGame{"Phom", "tap id=btnPhom\n", "PhomNewView"},
                      TableGame{"CaoRua", "drag id=scrollView 0 -300\nadvance 1\ntap id=btnCaoRua\n", "CaoRuaView"},
                      TableGame{"CoTuong", "tap id=btnCoTuong\n", "CoTuongView"},
                      TableGame{"CoUp", "tap id=btnCoUp\n", "CoUpView"}),
    [](const ::testing::TestParamInfo<TableGame>& info) { return std::string(info.param.name); });

} // namespace
} // namespace kavo::test
