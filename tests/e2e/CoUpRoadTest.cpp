// The hidden-piece chess road end to end: a signed-in client on the manual clock against
// the test portal, driven like a person from the game grid to a finished game.
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "games/cotuong/CCBoard.h"
#include "games/cotuong/Team.h"
#include "games/coup/CoUpChessMan.h"
#include "games/coup/CoUpView.h"
#include "platform/runtime/RunLoop.h"
#include "table/base/ChessPlayer.h"
#include "table/registry/GameController.h"
#include "tests/e2e/TableRoad.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"

#include <gtest/gtest.h>

namespace kavo::test {
namespace {

constexpr int32_t kMe = ClientWorld::kPlayerId;
constexpr int32_t kBinh = 99;
constexpr int32_t kChu = 77;

class CoUpRoad : public TableRoadFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        answerOneBoard(portal(), 1, 2);
    }

    void signInAndOpenTheList() { signInAndTapTheBoard("btnCoUp"); }
    void game(Bytes body) { send(body.message(86)); }
    std::shared_ptr<CoUpView> table() { return GameController::getCoUpView(); }
    CCBoard& board() { return *table()->board(); }
    void press(const std::string& title) { run("tap text=" + title); }
    std::shared_ptr<CoUpChessMan> pieceAt(int x, int y) {
        return std::dynamic_pointer_cast<CoUpChessMan>(board().getUnitAtPoint(x, y));
    }
};

TEST_F(CoUpRoad, APlayerGetsReadyRevealsAPieceRefusesAnUndoAndADrawAndResigns) {
    signInAndOpenTheList();
    EXPECT_EQ(lastSent(1900), (std::vector<uint8_t>{2, 7, 0, 0})) << "the chess join, no password";

    // Binh owns the table; I get ready.
    Bytes joined = Bytes().byte(2).byte(7).int32(kBinh).int32(1000);
    seatRow(joined, kBinh, "Binh", true);
    seatRow(joined, kMe, "Khach");
    send(joined.message(8));
    run("screen CoUpView 30\nadvance 0.5\nexpect id=clickViewPlayer\nexpect-not id=btnUndo");
    EXPECT_EQ(table()->btnStart()->titleLabel()->text(), text("KAVO_ready"));
    portal().clearMessages();
    run("tap id=btnStart");
    EXPECT_EQ(lastSent(16), (std::vector<uint8_t>{2, 7, 1}));
    send(Bytes().int32(kMe).boolean(true).message(16));

    // I move first, black at the bottom; every piece but the generals lies face down.
    game(Bytes().byte(15).byte(2).byte(7).int32(25).int32(kMe).int32(900).int32(600));
    EXPECT_EQ(table()->black(), "khach");
    ASSERT_TRUE(pieceAt(0, 3));
    EXPECT_TRUE(pieceAt(0, 3)->isFaceDown());
    EXPECT_FALSE(pieceAt(4, 0)->isFaceDown());

    // The face-down soldier steps forward; the server names it a chariot.
    portal().clearMessages();
    run("tap id=piece_0_3\nexpect id=mark_0_4\ntap id=mark_0_4");
    EXPECT_EQ(lastSent(86), (std::vector<uint8_t>{2, 7, 25, 0, 3, 0, 4}));
    game(Bytes().byte(25).int32(kMe).raw({0, 3, 0, 4}).int32(880).int32(kBinh).byte(5));
    advance(0.31);
    ASSERT_TRUE(pieceAt(0, 4));
    EXPECT_FALSE(pieceAt(0, 4)->isFaceDown());
    EXPECT_EQ(pieceAt(0, 4)->kind(), PieceKind::Ju);
    EXPECT_EQ(pieceAt(0, 4)->image()->name(), "ct_b_ju.png");

    // The opponent asks to take back: refused.
    game(Bytes().byte(26));
    EXPECT_EQ(dialogText(), text("KAVO_undo"));
    portal().clearMessages();
    press(text("KAVO_no"));
    EXPECT_EQ(lastSent(86), (std::vector<uint8_t>{2, 7, 26, 0xff}));

    // The opponent offers a draw: refused with the board games' answer.
    game(Bytes().byte(30));
    EXPECT_EQ(dialogText(), text("KAVO_oppWantDraw"));
    press(text("KAVO_no"));
    EXPECT_EQ(lastSent(24), (std::vector<uint8_t>{2, 7, 0}));

    // The captured pieces: none yet.
    portal().clearMessages();
    run("tap id=clickViewPlayer");
    EXPECT_EQ(lastSent(86), (std::vector<uint8_t>{2, 7, 33}));
    game(Bytes().byte(33));
    EXPECT_FALSE(table()->viewCoAn()->isHidden());

    // Resignation through the confirmation, then the result.
    portal().clearMessages();
    run("tap id=btnLose");
    EXPECT_EQ(dialogText(), text("KAVO_confirm_lose"));
    press(text("KAVO_OK"));
    EXPECT_EQ(lastSent(86), (std::vector<uint8_t>{2, 7, 35}));
    EXPECT_TRUE(table()->isLosing());
    game(Bytes().byte(40).int32(kMe).byte(-1).int32(-1000).int32(kBinh).byte(1).int32(1000));
    EXPECT_NE(dialogText(), "") << "my report";
    press(text("KAVO_OK"));
    game(Bytes().byte(50));
    EXPECT_FALSE(table()->isInBoard());
    EXPECT_TRUE(table()->viewCoAn()->isHidden()) << "the panel goes with the game";
    EXPECT_EQ(board().getAllPieces().size(), 32u) << "the pieces stay";

    // The owner changes the stake; getting ready again keeps the last game's pieces.
    send(Bytes().byte(2).byte(7).int32(2000).message(19));
    EXPECT_EQ(table()->btnStart()->titleLabel()->text(), text("KAVO_ready"));
    portal().clearMessages();
    run("tap id=btnStart");
    EXPECT_EQ(lastSent(16), (std::vector<uint8_t>{2, 7, 1}));
    EXPECT_EQ(board().getAllPieces().size(), 32u);
}

TEST_F(CoUpRoad, AViewerSeesTheFirstPlayerLeaveAndHisSeatEmpty) {
    signInAndOpenTheList();
    Bytes rows = Bytes().byte(2).byte(7).int32(kChu).int32(1000);
    seatRow(rows, kChu, "Chu", true);
    seatRow(rows, kBinh, "Binh", true);
    send(rows.message(1900));
    run("screen CoUpView 30\nadvance 0.5\nexpect id=btnViewing\nexpect text=chu\nexpect text=binh");
    send(Bytes().int32(kChu).int32(kBinh).message(14));
    run("advance 0.5\nexpect-not text=chu\nexpect text=binh\nexpect text=" + text("KAVO_sitdown"));
    EXPECT_EQ(table()->chessPlayers()[0]->IDDB(), -1);
}

} // namespace
} // namespace kavo::test
