// The Chinese chess road end to end: a signed-in client on the manual clock against the
// test portal, driven like a person from the game grid to a finished game.
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "app/Util.h"
#include "app/widgets/SubSeatView.h"
#include "games/cotuong/CCBoard.h"
#include "games/cotuong/ChessMan.h"
#include "games/cotuong/CoTuongView.h"
#include "games/cotuong/Team.h"
#include "platform/runtime/RunLoop.h"
#include "platform/services/SystemSound.h"
#include "platform/services/UrlOpener.h"
#include "platform/ui/Application.h"
#include "table/base/ChessPlayer.h"
#include "table/registry/GameController.h"
#include "table/sheets/boardChat.h"
#include "tests/e2e/FriendListFirst.h"
#include "tests/e2e/TableRoad.h"
#include "tests/support/Bytes.h"
#include "tests/support/client/ClientTestSupport.h"
#include "tests/support/client/OpenDialog.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace kavo::test {
namespace {

constexpr int32_t kMe = ClientWorld::kPlayerId;
constexpr int32_t kBinh = 99;
constexpr int32_t kChu = 77;

class CoTuongRoad : public TableRoadFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        answerOneBoard(portal(), 1, 2);
    }

    void signInAndOpenTheList() { signInAndTapTheBoard("btnCoTuong"); }
    void game(Bytes body) { send(body.message(77)); }
    std::shared_ptr<CoTuongView> table() { return GameController::getCoTuongView(); }
    CCBoard& board() { return *table()->board(); }
    bool pieceAt(const std::string& id) {
        const auto pieces = board().getAllPieces();
        return std::any_of(pieces.begin(), pieces.end(),
                           [&](const auto& piece) { return piece->accessibilityIdentifier() == id; });
    }
    size_t splitTiles() {
        size_t tiles = 0;
        for (const auto& view : board().subviews())
            tiles += view->accessibilityIdentifier().rfind("pieceSplit", 0) == 0 ? 1 : 0;
        return tiles;
    }
    // The last message of a command the portal got, waiting for it.
    void press(const std::string& title) { ASSERT_TRUE(drives("tap text=" + title)); }
    void move(int32_t mover, int xs, int ys, int xd, int yd, int32_t remain, int32_t next) {
        Bytes body;
        body.byte(25).int32(mover).byte(int8_t(xs)).byte(int8_t(ys)).byte(int8_t(xd)).byte(int8_t(yd));
        game(body.int32(remain).int32(next).byte(0));
    }
};

TEST_F(CoTuongRoad, APlayerSitsStartsCapturesGivesCheckTakesBackOffersADrawAndResigns) {
    signInAndOpenTheList();
    EXPECT_EQ(lastSent(1900), (std::vector<uint8_t>{2, 7, 0, 0})) << "the chess join, no password";

    // Alone at the table: starting is refused.
    Bytes alone = Bytes().byte(2).byte(7).int32(kMe).int32(1000);
    seatRow(alone, kMe, "Khach");
    seatRow(alone, -1, "");
    send(alone.message(8));
    ASSERT_TRUE(drive("screen CoTuongView 30\nadvance 0.5\ntap id=btnStart").ok);
    EXPECT_EQ(dialogText(), text("KAVO_cannotStart"));
    press(text("KAVO_OK"));

    // Binh sits down and is ready; a stake above my money is refused, then lowered.
    send(Bytes().byte(1).int32(kBinh).utf("Binh").int64(400000).int16(2).int32(900).message(12));
    send(Bytes().int32(kBinh).boolean(true).message(16));
    send(Bytes().byte(2).byte(7).int32(600000).message(19));
    send(Bytes().int32(kBinh).boolean(true).message(16));
    ASSERT_TRUE(drive("tap id=btnStart").ok);
    EXPECT_EQ(dialogText(), text("KAVO_youCantStartLessMoney"));
    press(text("KAVO_OK"));
    send(Bytes().byte(2).byte(7).int32(1000).message(19));
    send(Bytes().int32(kBinh).boolean(true).message(16));
    portal().clearMessages();
    ASSERT_TRUE(drive("tap id=btnStart").ok);
    EXPECT_EQ(lastSent(20), (std::vector<uint8_t>{2, 7}));

    // I move first: black, at my bottom.
    game(Bytes().byte(15).byte(2).byte(7).int32(25).int32(kMe).int32(900).int32(600));
    EXPECT_EQ(table()->black(), "khach");
    EXPECT_FALSE(table()->isBottomRed());
    EXPECT_EQ(board().getUnitAtPoint(4, 0)->name(), "ct_b_jiang");
    EXPECT_EQ(table()->lblQuotaTime0()->text(), "15:00");
    EXPECT_EQ(table()->lblQuotaTime2()->text(), "10:00");
    EXPECT_TRUE(table()->cpiSeat0()->isCounting());

    // Pick the cannon and take the horse.
    ASSERT_TRUE(drive("tap id=piece_1_2\nexpect id=mark_1_9\ntap id=mark_1_9").ok);
    EXPECT_EQ(lastSent(77), (std::vector<uint8_t>{2, 7, 25, 1, 2, 1, 9}));
    platform::SystemSound::clearRecord();
    move(kMe, 1, 2, 1, 9, 880, kBinh);
    EXPECT_EQ(table()->lblQuotaTime0()->text(), "14:40");
    EXPECT_TRUE(table()->cpiSeat2()->isCounting());
    EXPECT_FALSE(table()->cpiSeat0()->isCounting());
    advance(0.29);
    EXPECT_EQ(splitTiles(), 0u);
    advance(0.02);
    EXPECT_EQ(splitTiles(), 4u) << "the horse splits at 0.3 s";
    EXPECT_EQ(played("EAT.WAV"), 1u);

    move(kBinh, 0, 9, 1, 9, 590, kMe); // the chariot takes my cannon
    move(kMe, 7, 2, 1, 2, 860, kBinh); // my other cannon lines up behind its screen
    move(kBinh, 3, 9, 4, 8, 580, kMe); // the advisor steps off the back rank
    advance(1);
    platform::SystemSound::clearRecord();
    move(kMe, 1, 2, 1, 9, 840, kBinh); // takes the chariot, and the general is in check
    advance(0.31);
    EXPECT_EQ(board().team_1()->unitAt(0, 9), nullptr);
    EXPECT_EQ(played("CHIEU.WAV"), 0u);
    advance(0.1);
    EXPECT_EQ(played("CHIEU.WAV"), 1u) << "the check sounds at 0.4 s";
    const size_t redLeft = board().team_1()->pieces().size();

    // The server takes three moves back, half a second apart; the chariot returns.
    game(Bytes().byte(27).int32(kMe).raw({1, 9, 1, 2, 5, 4, 8, 3, 9, 0xff, 1, 2, 7, 2, 0xff}));
    EXPECT_TRUE(pieceAt("piece_1_2"));
    advance(0.49);
    EXPECT_TRUE(pieceAt("piece_4_8"));
    advance(0.02);
    EXPECT_TRUE(pieceAt("piece_3_9"));
    advance(0.5);
    EXPECT_TRUE(pieceAt("piece_7_2"));
    advance(0.3);
    EXPECT_EQ(board().team_1()->pieces().size(), redLeft + 1);
    ASSERT_TRUE(board().team_1()->unitAt(1, 9));
    EXPECT_EQ(board().team_1()->unitAt(1, 9)->name(), "ct_r_ju");

    // My draw offer is refused; the opponent's offer is answered no.
    portal().clearMessages();
    const auto offered = drive("tap id=btnDraw");
    ASSERT_TRUE(offered.ok) << offered.message;
    EXPECT_EQ(lastSent(77), (std::vector<uint8_t>{2, 7, 30}));
    EXPECT_TRUE(table()->isDrawing());
    game(Bytes().byte(31));
    EXPECT_EQ(dialogText(), text("KAVO_oppNotAgree"));
    EXPECT_FALSE(table()->isDrawing());
    press(text("KAVO_OK"));
    game(Bytes().byte(30));
    EXPECT_EQ(dialogText(), text("KAVO_oppWantDraw"));
    press(text("KAVO_no"));
    EXPECT_EQ(lastSent(24), (std::vector<uint8_t>{2, 7, 0}));

    // A line from the server in the middle of the board, not in the history.
    game(Bytes().byte(39).utf("Con 5 phut"));
    EXPECT_FALSE(table()->chatBubble(2)->isHidden());
    EXPECT_EQ(table()->chatBubble(2)->subviews().front()->text(), "Con 5 phut");
    EXPECT_TRUE(table()->chatView()->historyChat().empty());

    // Resignation through the confirmation.
    portal().clearMessages();
    ASSERT_TRUE(drive("tap id=btnLose").ok);
    EXPECT_EQ(dialogText(), text("KAVO_confirm_lose"));
    press(text("KAVO_OK"));
    EXPECT_EQ(lastSent(77), (std::vector<uint8_t>{2, 7, 35}));
    EXPECT_TRUE(table()->isLosing());
    game(Bytes().byte(40).int32(kMe).byte(-1).int32(-1000).int32(kBinh).byte(1).int32(1000));
    EXPECT_NE(dialogText(), "") << "my report";
    EXPECT_EQ(table()->getPlayerWithID(kBinh)->money(), 401000);
    press(text("KAVO_OK"));
    game(Bytes().byte(50));
    EXPECT_FALSE(table()->isInBoard());
    EXPECT_EQ(table()->btnStart()->titleLabel()->text(), text("KAVO_continuee"));
    EXPECT_TRUE(table()->lblQuotaTime0()->isHidden());
    EXPECT_FALSE(table()->cpiSeat0()->isCounting());
    EXPECT_EQ(board().getAllPieces().size(), 30u) << "the pieces stay";

    // Leaving with no game running asks nothing.
    portal().clearMessages();
    ASSERT_TRUE(drive("tap id=btnBack\nadvance 0.5").ok);
    EXPECT_EQ(lastSent(15), (std::vector<uint8_t>{2, 7}));
    EXPECT_FALSE(std::dynamic_pointer_cast<CoTuongView>(KavoOnlineAppDelegate::getInstance().topViewController()));
    // Back on the grid, the money is what the game left me (500,000 at the join, 1,000 lost).
    run("screen BoardView 30\nadvance 0.5\ntap id=btnBack\nscreen GameView 30\nadvance 0.5\nexpect text=" +
        Util::formatNumber(499000));
}

// The grid's more-games question answers itself: the report of a game played after it
// was cancelled runs nothing on OK, and Escape closes it.
TEST_F(CoTuongRoad, TheReportAfterTheGridsMoreGamesRunsNothingAndEscapeClosesIt) {
    portal().onCommand(72, [](Message& request, TestPortal::Reply& reply) {
        if (request.readByte() == 3) reply.send(72, Bytes().byte(3).utf("http://127.0.0.1/games"));
    });
    signInAndTapTheBoard("btnCoTuong", false,
                         "drag id=scrollView 0 -300\nadvance 1\ntap id=btnGameKhac\nwait text=" + text("KAVO_notice") +
                             " 30\ntap text=" + text("KAVO_cancel") + "\ndrag id=scrollView 0 300\nadvance 1\n");
    Bytes rows = Bytes().byte(2).byte(7).int32(kMe).int32(1000);
    seatRow(rows, kMe, "Khach", true);
    seatRow(rows, kBinh, "Binh", true);
    send(rows.message(8));
    run("screen CoTuongView 30\nadvance 0.5");
    const size_t opened = platform::UrlOpener::opened().size();
    for (const bool byEscape : {false, true}) {
        game(Bytes().byte(15).byte(2).byte(7).int32(25).int32(kMe).int32(900).int32(600));
        game(Bytes().byte(40).int32(kMe).byte(-1).int32(-1000).int32(kBinh).byte(1).int32(1000));
        ASSERT_NE(dialogText(), "") << "my report";
        EXPECT_EQ(openDialogCode(), UIController::kActionNone);
        if (byEscape)
            platform::ui::Application::shared().dispatchKey(platform::ui::Key::Escape);
        else
            press(text("KAVO_OK"));
        EXPECT_EQ(dialogText(), "");
    }
    EXPECT_EQ(platform::UrlOpener::opened().size(), opened) << "no address opened";
}

TEST_F(CoTuongRoad, AViewerSeesRedBelowRebuildsFromASnapshotAndLeavesWithoutAQuestion) {
    signInAndOpenTheList();
    Bytes rows = Bytes().byte(2).byte(7).int32(kChu).int32(1000);
    seatRow(rows, kChu, "Chu", true);
    seatRow(rows, kBinh, "Binh", true);
    send(rows.message(1900));
    ASSERT_TRUE(drive("screen CoTuongView 30\nadvance 0.5\nexpect id=btnViewing\nexpect text=chu").ok);
    EXPECT_EQ(table()->indexOfMe(), -1);
    ASSERT_TRUE(drive("tap id=btnSeat2").ok);
    EXPECT_TRUE(table()->viewPlayerMenu()->isHidden()) << "a viewer opens no menu";
    table()->clickChatBoardOfMe();
    EXPECT_FALSE(table()->chatView()->isViewLoaded() && table()->chatView()->view()->superview());

    game(Bytes().byte(15).byte(2).byte(7).int32(25).int32(kChu).int32(900).int32(900));
    EXPECT_EQ(table()->black(), "chu");
    EXPECT_TRUE(table()->isBottomRed()) << "viewers see red at the bottom";

    // A snapshot: Chu owns the table and moved first; Binh is to move.
    Bytes snapshot;
    snapshot.byte(10).int32(kChu).int32(kBinh).int32(25).int32(9);
    snapshot.int32(kChu).int32(500).byte(2).raw({4, 0, 1, 0, 0, 0, 5, 0}); // each player's time left and pieces
    snapshot.int32(kBinh).int32(450).byte(1).raw({4, 9, 1, 0});
    game(snapshot);
    EXPECT_EQ(board().getAllPieces().size(), 3u);
    EXPECT_FALSE(table()->isBottomRed()) << "the owner's colour at the bottom";
    EXPECT_EQ(board().getUnitAtPoint(0, 0)->name(), "ct_b_ju");
    EXPECT_EQ(table()->interval(), 25);
    EXPECT_EQ(table()->lblQuotaTime0()->text(), "08:20");
    EXPECT_TRUE(table()->cpiSeat2()->isCounting());

    portal().clearMessages();
    ASSERT_TRUE(drive("tap id=btnBack\nadvance 0.5").ok);
    EXPECT_EQ(lastSent(15), (std::vector<uint8_t>{2, 7}));
    EXPECT_EQ(dialogText(), "");
}

TEST_F(CoTuongRoad, LeavingARunningGameAsksFirst) {
    signInAndOpenTheList();
    Bytes rows = Bytes().byte(2).byte(7).int32(kMe).int32(1000);
    seatRow(rows, kMe, "Khach");
    seatRow(rows, kBinh, "Binh", true);
    send(rows.message(8));
    ASSERT_TRUE(drive("screen CoTuongView 30\nadvance 0.5").ok);
    game(Bytes().byte(15).byte(2).byte(7).int32(25).int32(kBinh).int32(900).int32(900));
    EXPECT_TRUE(table()->isBottomRed()) << "the other player moves first: I play red";
    portal().clearMessages();
    ASSERT_TRUE(drive("tap id=btnBack").ok);
    EXPECT_EQ(dialogText(), text("KAVO_doYouWantExit"));
    EXPECT_TRUE(portal().messages(15).empty());
    press(text("KAVO_OK"));
    EXPECT_EQ(lastSent(15), (std::vector<uint8_t>{2, 7}));
}

TEST_F(CoTuongRoad, AJoinListingOnlyMeShowsWhoSitsDownLaterAtTheSecondPlace) {
    signInAndOpenTheList();
    Bytes alone = Bytes().byte(2).byte(7).int32(kMe).int32(1000);
    seatRow(alone, kMe, "Khach");
    send(alone.message(8));
    ASSERT_TRUE(drive("screen CoTuongView 30\nadvance 0.5").ok);
    ASSERT_EQ(table()->chessPlayers().size(), 2u) << "padded with an empty place";
    EXPECT_EQ(table()->chessPlayers()[1]->IDDB(), -1);
    send(Bytes().byte(1).int32(kBinh).utf("Binh").int64(400000).int16(2).int32(900).message(12));
    EXPECT_EQ(table()->chessPlayers()[1]->IDDB(), kBinh);
    EXPECT_EQ(table()->getPlayerNameFromID(kBinh), "Binh");
    EXPECT_TRUE(drive("wait text=Binh 30").ok) << "drawn at the top seat";
}

TEST_F(CoTuongRoad, AFriendListJustBeforeTheJoinMarksThatJoinsPlayers) {
    signInAndOpenTheList();
    Bytes join = Bytes().byte(2).byte(7).int32(kChu).int32(1000);
    seatRow(join, kChu, "Chu", true);
    seatRow(join, kMe, "Khach");
    ASSERT_TRUE(sendFriendsThenJoin(portal(), {kChu}, join.message(8)));
    advance(0);
    ASSERT_TRUE(drive("screen CoTuongView 30\nadvance 0.5").ok);
    ASSERT_EQ(table()->chessPlayers().size(), 2u);
    EXPECT_EQ(table()->chessPlayers()[0]->isFriend(), 1);
    EXPECT_EQ(table()->chessPlayers()[1]->isFriend(), 0);
}

} // namespace
} // namespace kavo::test
