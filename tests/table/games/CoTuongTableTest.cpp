// The Chinese chess table screen on the manual clock: the board's squares and taps,
// reported moves and undo steps, and the logic handler's twins driving the screen.
#include "account/SettingsView.h"
#include "app/Resources.h"
#include "app/UIController.h"
#include "app/widgets/SubSeatView.h"
#include "games/cotuong/CCBoard.h"
#include "games/cotuong/ChessMan.h"
#include "games/cotuong/CoTuongLogicHandler.h"
#include "games/cotuong/CoTuongView.h"
#include "games/cotuong/Team.h"
#include "platform/render/Renderer.h"
#include "platform/services/SystemSound.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Screen.h"
#include "table/base/ChessPlayer.h"
#include "table/registry/GameController.h"
#include "table/sheets/boardChat.h"
#include "tests/support/client/OpenDialog.h"
#include "tests/platform/runtime/Marks.h"
#include "tests/table/games/ChessTable.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

namespace kavo::test {
namespace {

namespace ui = platform::ui;

PieceServer at(int x, int y, int type) {
    return {int8_t(x), int8_t(y), int8_t(type), 0};
}

PieceUndo undo(int xs, int ys, int xd, int yd, int eaten) {
    PieceUndo row;
    row.xSource = int8_t(xs);
    row.ySource = int8_t(ys);
    row.xDest = int8_t(xd);
    row.yDest = int8_t(yd);
    row.eatPieceType = int8_t(eaten);
    return row;
}

class CoTuongTable : public ChessTable<CoTuongView> {
protected:
    void SetUp() override {
        ChessTable::SetUp();
        UIController::setSound(true);
        signIn(5);
        platform::SystemSound::clearRecord();
    }

    // Joins room 1, board 4 as the owner, the other player beside me.
    std::shared_ptr<CoTuongView> sit(ChessPlayerList players = {}) {
        if (players.empty()) players = {record(kMe, "an ba"), record(kOther, "binh")};
        CoTuongLogicHandler::applyJoin(false, 1, 4, players.front()->IDDB(), 500, players);
        runMainThread();
        table = GameController::getCoTuongView();
        // The seats ask for the avatars' pictures once per process.
        client.clear();
        return table;
    }
    void tap(int x, int y, double dx = 0) {
        const ui::Point point = Piece::convertPoint(x, y);
        board().tapAt({point.x + dx, point.y});
        runMainThread();
    }
    std::vector<std::string> marks() {
        std::vector<std::string> ids;
        for (const auto& view : board().subviews())
            if (view->tag() == CCBoard::kMarkTag && view->accessibilityIdentifier().rfind("mark_", 0) == 0)
                ids.push_back(view->accessibilityIdentifier());
        std::sort(ids.begin(), ids.end());
        return ids;
    }
    bool pieceAt(const std::string& id) {
        for (const auto& piece : board().getAllPieces())
            if (piece->accessibilityIdentifier() == id) return true;
        return false;
    }
    static size_t played(const std::string& file) {
        const auto all = platform::SystemSound::played();
        return size_t(std::count(all.begin(), all.end(), file));
    }
};

// ---------------------------------------------------------------- squares

TEST_F(CoTuongTable, EverySquaresCentreConvertsBackToItsSquareOnBothDevices) {
    for (ui::Idiom idiom : {ui::Idiom::Phone, ui::Idiom::Tablet}) {
        ui::Screen::setIdiom(idiom);
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 10; ++y) {
                const ui::Point grid = CCBoard::convertPointToBoard(Piece::convertPoint(x, y));
                EXPECT_EQ(grid.x, x);
                EXPECT_EQ(9 - grid.y, y);
            }
    }
    ui::Screen::setIdiom(ui::Idiom::Phone);
    EXPECT_EQ(CCBoard::convertPointToBoard({241, 15}).x, 8);
    EXPECT_EQ(CCBoard::convertPointToBoard({241, 15}).y, 0);
    EXPECT_EQ(Piece::convertPoint(0, 0).x, 17);
    EXPECT_EQ(Piece::convertPoint(0, 0).y, 276);
}

TEST_F(CoTuongTable, TheBoardAndTheSeatsTakeTheirFramesOnEachDevice) {
    sit();
    EXPECT_EQ(board().frame(), (ui::Rect{152, 10, 270, 300}));
    GameController::reset();
    relaunchAs(ui::Idiom::Tablet);
    sit();
    EXPECT_EQ(board().frame(), (ui::Rect{325, 20, 570, 710}));
}

// ---------------------------------------------------------------- taps

TEST_F(CoTuongTable, APieceIsPickedWithItsMarksOnlyOnMyTurn) {
    sit();
    start(kOther);
    tap(1, 2);
    EXPECT_FALSE(board().isPieceSelected()) << "the opponent's turn";
    EXPECT_TRUE(marks().empty());

    table->moveWithWhoMove(kOther, 0, 6, 0, 5, kMe, 880, 0);
    advance(0.5);
    tap(1, 2);
    EXPECT_TRUE(board().isPieceSelected());
    EXPECT_EQ(marks(),
              (std::vector<std::string>{"mark_0_2", "mark_1_1", "mark_1_3", "mark_1_4", "mark_1_5", "mark_1_6",
                                        "mark_1_9", "mark_2_2", "mark_3_2", "mark_4_2", "mark_5_2", "mark_6_2"}));
    EXPECT_EQ(played("CLICK.WAV"), 1u);
    tap(1, 2);
    EXPECT_TRUE(board().isPieceSelected()) << "the same piece again stays picked";
    EXPECT_EQ(marks().size(), 12u) << "its marks drawn afresh";
    tap(0, 0);
    EXPECT_EQ(board().selectedPiece()->accessibilityIdentifier(), "piece_0_0") << "the pick switched";
    EXPECT_EQ(marks(), (std::vector<std::string>{"mark_0_1", "mark_0_2"}));
    EXPECT_TRUE(client.sent().empty());

    tap(0, 4);
    EXPECT_TRUE(client.sentOnce(77, {1, 4, 25, 0, 0, 0, 4})) << "sent unchecked, unmarked";
    EXPECT_FALSE(board().isPieceSelected());
    EXPECT_TRUE(pieceAt("piece_0_0")) << "nothing moves before the server says so";
}

TEST_F(CoTuongTable, ATapBesideTheBoardCountsWithinTheMarginOnly) {
    sit();
    start(kMe);
    tap(0, 0, -10);
    EXPECT_TRUE(board().isPieceSelected()) << "10 points left of column 0";
    tap(0, 0, -20);
    EXPECT_TRUE(board().isPieceSelected()) << "20 points left: ignored";
    EXPECT_TRUE(client.sent().empty());
    board().tapAt({Piece::convertPoint(4, 0).x, Piece::convertPoint(4, 0).y + 40});
    runMainThread();
    EXPECT_TRUE(client.sent().empty()) << "below row 0 is no square";
}

// ---------------------------------------------------------------- reported moves

TEST_F(CoTuongTable, ACaptureSplitsAtThreeTenthsAndTheMarksFollow) {
    sit();
    start(kMe);
    EXPECT_TRUE(pieceAt("piece_1_9"));
    CoTuongLogicHandler::getInstance().onMoveWithWhoMove(kMe, 1, 2, 1, 9, kOther, 880, 0);
    runMainThread();
    EXPECT_EQ(table->turn(), kOther);
    EXPECT_EQ(table->lblQuotaTime0()->text(), "14:40");
    EXPECT_TRUE(table->cpiSeat2()->isCounting());
    EXPECT_FALSE(table->cpiSeat0()->isCounting());
    advance(0.29);
    EXPECT_EQ(board().team_1()->pieces().size(), 16u);
    EXPECT_FALSE(board().viewWithTag(3) && board().viewWithTag(3)->accessibilityIdentifier() == "pieceSplit3");
    advance(0.02);
    EXPECT_EQ(board().team_1()->pieces().size(), 15u) << "the red horse is gone";
    std::vector<std::string> tiles;
    for (const auto& view : board().subviews())
        if (view->accessibilityIdentifier().rfind("pieceSplit", 0) == 0)
            tiles.push_back(view->accessibilityIdentifier());
    EXPECT_EQ(tiles, (std::vector<std::string>{"pieceSplit0", "pieceSplit1", "pieceSplit2", "pieceSplit3"}));
    EXPECT_EQ(played("EAT.WAV"), 1u);
    EXPECT_FALSE(table->imgBorderPiece()->isHidden());
    EXPECT_EQ(table->imgBorderPiece()->center(), Piece::convertPoint(1, 9));
    EXPECT_EQ(table->imgStillMovedPiece()->center(), Piece::convertPoint(1, 2));
    advance(0.5);
    tiles.clear();
    for (const auto& view : board().subviews())
        if (view->accessibilityIdentifier().rfind("pieceSplit", 0) == 0)
            tiles.push_back(view->accessibilityIdentifier());
    EXPECT_TRUE(tiles.empty()) << "the tiles flew off";
}

TEST_F(CoTuongTable, ACheckSoundsAtFourTenths) {
    sit();
    snapshot({at(4, 0, 1), at(0, 5, 5)}, {at(4, 9, 1)});
    EXPECT_FALSE(table->isBottomRed()) << "I own the table and move first: black at the bottom";
    table->moveWithWhoMove(kMe, 0, 5, 4, 5, kOther, 600, 0);
    advance(0.39);
    EXPECT_EQ(played("CHIEU.WAV"), 0u);
    EXPECT_EQ(played("MOVE.WAV"), 1u);
    advance(0.02);
    EXPECT_EQ(played("CHIEU.WAV"), 1u);
}

TEST_F(CoTuongTable, AMoveFromAnEmptySquareMovesNothingButPassesTheTurn) {
    sit();
    start(kMe);
    table->moveWithWhoMove(kMe, 4, 4, 4, 5, kOther, 880, 0);
    table->moveWithWhoMove(kOther, 12, 4, -1, 5, kMe, 880, 0);
    EXPECT_EQ(table->turn(), kMe);
    advance(1);
    EXPECT_EQ(board().getAllPieces().size(), 32u);
    EXPECT_EQ(played("MOVE.WAV"), 0u);
}

TEST_F(CoTuongTable, AnUndoOfThreeRowsReplaysHalfASecondApartAndGivesTheChariotBack) {
    sit();
    snapshot({at(4, 0, 1), at(0, 0, 5)}, {at(4, 9, 1), at(0, 9, 5)});
    table->moveWithWhoMove(kMe, 0, 0, 0, 9, kOther, 600, 0);
    advance(0.5);
    table->moveWithWhoMove(kOther, 4, 9, 4, 8, kMe, 600, 0);
    table->moveWithWhoMove(kMe, 4, 0, 4, 1, kOther, 600, 0);
    advance(0.5);
    ASSERT_EQ(board().team_1()->pieces().size(), 1u);

    table->makeUndoWithNextUserId(kMe, {undo(4, 1, 4, 0, -1), undo(4, 8, 4, 9, -1), undo(0, 9, 0, 0, 5)});
    EXPECT_EQ(table->turn(), kMe);
    advance(0);
    EXPECT_TRUE(pieceAt("piece_4_0"));
    EXPECT_TRUE(pieceAt("piece_4_8"));
    advance(0.49);
    EXPECT_TRUE(pieceAt("piece_4_8"));
    advance(0.02);
    EXPECT_TRUE(pieceAt("piece_4_9"));
    EXPECT_TRUE(pieceAt("piece_0_9"));
    advance(0.5);
    EXPECT_TRUE(pieceAt("piece_0_0"));
    advance(0.31);
    ASSERT_EQ(board().team_1()->pieces().size(), 2u) << "the red chariot is back";
    EXPECT_EQ(board().team_1()->unitAt(0, 9)->kind(), PieceKind::Ju);
    EXPECT_EQ(board().team_1()->unitAt(0, 9)->name(), "ct_r_ju");
}

TEST_F(CoTuongTable, DelayedStepsOfAnOldBoardDoNothingAfterANewGame) {
    sit();
    start(kMe);
    table->moveWithWhoMove(kMe, 1, 2, 1, 9, kOther, 880, 0);
    table->closeBoardWithInfo(std::nullopt);
    EXPECT_EQ(board().getAllPieces().size(), 32u) << "the pieces stay after the end";
    table->clickStartGame();
    EXPECT_TRUE(board().getAllPieces().empty()) << "Continue clears the board";
    advance(1);
    EXPECT_EQ(played("EAT.WAV"), 0u);
}

// ---------------------------------------------------------------- sides and seats

TEST_F(CoTuongTable, TheFirstMoverPlaysBlackAtHisOwnBottom) {
    sit();
    start(kMe);
    EXPECT_EQ(table->black(), "an ba");
    EXPECT_EQ(table->red(), "binh");
    EXPECT_FALSE(table->isBottomRed());
    EXPECT_EQ(board().getUnitAtPoint(4, 0)->name(), "ct_b_jiang");
    EXPECT_EQ(board().getUnitAtPoint(4, 9)->name(), "ct_r_jiang");
    EXPECT_EQ(table->chatBubble(2)->isHidden(), false);
    table->closeBoardWithInfo(std::nullopt);
    start(kOther);
    EXPECT_TRUE(table->isBottomRed());
    EXPECT_EQ(board().getUnitAtPoint(4, 0)->name(), "ct_r_jiang");
}

TEST_F(CoTuongTable, AViewerSeesTheFirstRecordBelowAndCannotOpenTheMenu) {
    sit({record(30, "chu"), record(kOther, "binh")});
    EXPECT_EQ(table->indexOfMe(), -1);
    drive("expect id=btnViewing\nexpect text=chu\nexpect text=binh");
    start(30);
    EXPECT_TRUE(table->isBottomRed()) << "a viewer sees red at the bottom";
    table->clickShowActionPlayer(2);
    EXPECT_TRUE(table->viewPlayerMenu()->isHidden());
    table->clickSitDown();
    EXPECT_TRUE(client.sentOnce(1900, {1, 4, 0, 0}));
}

TEST_F(CoTuongTable, StartingWithTheOtherPlaceEmptyIsRefused) {
    sit({record(kMe, "an ba"), record(-1, "")});
    EXPECT_TRUE(SettingsView::getInstance()->isSetMoney()) << "the owner may set the stake";
    EXPECT_EQ(table->getPlayerWithID(kMe)->isReady(), 1) << "the owner counts as ready";
    table->clickStartGame();
    EXPECT_EQ(dialogText(), text("KAVO_cannotStart"));
    EXPECT_TRUE(client.sent().empty());
}

// ---------------------------------------------------------------- logic handler twins

TEST_F(CoTuongTable, EventsForAnotherTableChangeNothing) {
    sit();
    auto& logic = CoTuongLogicHandler::getInstance();
    logic.onChatFromBoardWithRoomId(1, 5, "xin chao", kOther);
    logic.onKickedWithRoomId(2, 4, kOther);
    logic.onOwnerSetMoneyWithRoomeId(1, 5, 9000);
    logic.onStartGameWithRoomId(1, 5, kMe, 25, 900, 900);
    runMainThread();
    EXPECT_TRUE(table->chatView()->historyChat().empty());
    EXPECT_EQ(table->getPlayerWithID(kOther)->IDDB(), kOther);
    EXPECT_EQ(table->dmoney(), 500);
    EXPECT_FALSE(table->isInBoard());
    logic.onStartGameWithRoomId(1, 4, kMe, 25, 900, 600);
    runMainThread();
    EXPECT_TRUE(table->isInBoard());
    EXPECT_EQ(table->lblQuotaTime0()->text(), "15:00");
    EXPECT_EQ(table->lblQuotaTime2()->text(), "10:00");
}

TEST_F(CoTuongTable, ASitDownAtAPlaceTheTableLacksIsDropped) {
    sit({record(kMe, "an ba"), record(-1, "")});
    auto& logic = CoTuongLogicHandler::getInstance();
    logic.onSomeOneJoinBoardWithSeat(2, record(60, "giang"));
    runMainThread();
    EXPECT_EQ(table->getPlayerWithID(60), nullptr) << "place 2 of two";
    logic.onSomeOneJoinBoardWithSeat(1, record(60, "giang"));
    runMainThread();
    EXPECT_NE(table->getPlayerWithID(60), nullptr);
}

TEST_F(CoTuongTable, AJoinRefillsTheTableOnTopAndPushesOtherwise) {
    auto& logic = CoTuongLogicHandler::getInstance();
    logic.onJoinGameSuccessWithRoomId(1, 4, kMe, 500, {record(kMe, "an ba"), record(-1, "")});
    runMainThread();
    auto first = GameController::getCoTuongView();
    ASSERT_TRUE(first);
    EXPECT_EQ(top(), first);
    EXPECT_EQ(UIController::myInfo()->money(), 50000) << "my money and experience from my row";
    EXPECT_EQ(UIController::myInfo()->exp(), 150);
    logic.onJoinGameSuccessWithRoomId(1, 4, kMe, 700, {record(kMe, "an ba"), record(kOther, "binh")});
    runMainThread();
    EXPECT_EQ(GameController::getCoTuongView(), first) << "refilled in place";
    EXPECT_EQ(first->dmoney(), 700);
    logic.onJoinViewGameSuccessWithRoomId(1, 4, kMe, 900, {record(kMe, "an ba"), record(kOther, "binh")});
    runMainThread();
    EXPECT_EQ(GameController::getCoTuongView(), first) << "1900 with the table on top makes no new screen";
    EXPECT_EQ(first->dmoney(), 700);
}

TEST_F(CoTuongTable, AKickOfAnotherEmptiesHisSeatAndAKickOfMeLeaves) {
    sit();
    start(kMe);
    table->moveWithWhoMove(kMe, 1, 2, 1, 9, kOther, 880, 0);
    auto& logic = CoTuongLogicHandler::getInstance();
    logic.onKickedWithRoomId(1, 4, kOther);
    runMainThread();
    EXPECT_EQ(table->getPlayerWithID(kOther), nullptr);
    EXPECT_EQ(top(), table);
    EXPECT_EQ(dialogText(), "");
    logic.onKickedWithRoomId(1, 4, kMe);
    runMainThread();
    advance(1);
    EXPECT_NE(top(), table);
    EXPECT_EQ(dialogText(), text("KAVO_youAreKicked"));
    EXPECT_EQ(openDialogCode(), UIController::kActionKicked);
    EXPECT_EQ(played("EAT.WAV"), 0u) << "the capture of a left table makes no sound";
    EXPECT_FALSE(table->cpiSeat2()->isCounting());
}

TEST_F(CoTuongTable, AKickOfMeWithoutATableInTheStackPopsNothing) {
    sit();
    auto other = std::make_shared<KavoViewController>();
    KavoOnlineAppDelegate::getInstance().navigationController()->setViewControllers(
        {std::make_shared<KavoViewController>(), other});
    runMainThread();
    CoTuongLogicHandler::getInstance().onKickedWithRoomId(1, 4, kMe);
    runMainThread();
    EXPECT_EQ(top(), other);
    EXPECT_EQ(dialogText(), text("KAVO_youAreKicked"));
}

TEST_F(CoTuongTable, ResultsFloorExperienceAndShowMyReportOnly) {
    sit();
    MatchResultInfo mine;
    mine.setID(kMe);
    mine.setResult(-1);
    mine.setD_money(-500);
    mine.setD_exp(-80);
    MatchResultInfo theirs;
    theirs.setID(kOther);
    theirs.setResult(1);
    theirs.setD_money(500);
    theirs.setD_exp(20);
    table->getPlayerWithID(kOther)->setIsReady(1);
    UIController::myInfo()->setExp(40);
    CoTuongLogicHandler::getInstance().onMatchResult({theirs});
    runMainThread();
    EXPECT_EQ(dialogText(), "") << "no row of mine, no report";
    EXPECT_EQ(table->getPlayerWithID(kOther)->money(), 50500);
    EXPECT_EQ(table->getPlayerWithID(kOther)->exp(), 170);
    EXPECT_EQ(table->getPlayerWithID(kOther)->isReady(), 0);
    CoTuongLogicHandler::getInstance().onMatchResult({mine});
    runMainThread();
    EXPECT_EQ(UIController::myInfo()->exp(), 0) << "40 - 80 floored";
    EXPECT_EQ(table->getPlayerWithID(kMe)->exp(), 70);
    EXPECT_EQ(table->getPlayerWithID(kMe)->money(), 49500);
    EXPECT_NE(dialogText(), "");
}

// A gift button names who gave the gift it shows; a seat without a gift names nobody.
TEST_F(CoTuongTable, AGiftButtonNamesItsGiverAndASeatWithoutAGiftNamesNobody) {
    sit();
    receiveGift(kOther, 4106, kMe);
    drive("tap id=btnPresent0");
    EXPECT_EQ(dialogText(), "binh " + text("KAVO_whoGift"));
    press("OK");
    drive("tap id=btnPresent2");
    EXPECT_EQ(dialogText(), "") << "binh got no gift";
}

TEST_F(CoTuongTable, TheDepartureWaitsUntilTheTableHasApplied) {
    sit();
    start(kMe);
    platform::test::Marks marks;
    platform::RunLoop::main().setTestHook([&](platform::RunLoop::TestMoment moment) {
        if (moment == platform::RunLoop::TestMoment::AwaitsMain) marks.mark("reader waits");
    });
    std::atomic<bool> returned{false};
    std::thread reader([&] {
        CoTuongLogicHandler::getInstance().onSomeOneLeaveBoardWithIdLeave(kOther, kMe);
        returned = true;
        marks.mark("reader returned");
    });
    // The main thread runs nothing until the reader either waits for it or returns.
    EXPECT_EQ(marks.waitForAny({"reader waits", "reader returned"}), "reader waits");
    EXPECT_FALSE(returned.load()) << "the reader waits for the main thread";
    EXPECT_TRUE(platform::RunLoop::main().runUntil([&] { return returned.load(); }, 30));
    reader.join();
    platform::RunLoop::main().setTestHook(nullptr);
    EXPECT_EQ(table->getPlayerWithID(kOther), nullptr);
    EXPECT_FALSE(table->isInBoard()) << "the game ended";
    EXPECT_EQ(table->turn(), -1);
}

TEST_F(CoTuongTable, DialogsOfTheOpponentsOffersSendTheirAnswers) {
    sit();
    auto& logic = CoTuongLogicHandler::getInstance();
    logic.onOpponentWantDraw();
    runMainThread();
    EXPECT_EQ(dialogText(), text("KAVO_oppWantDraw"));
    press(text("KAVO_no"));
    EXPECT_TRUE(client.sentOnce(24, {1, 4, 0}));
    client.clear();
    logic.onUndo();
    runMainThread();
    press(text("KAVO_OK"));
    EXPECT_TRUE(client.sentOnce(77, {1, 4, 26, 1}));
    client.clear();
    start(kMe);
    table->clickLose();
    press(text("KAVO_OK"));
    EXPECT_TRUE(table->isLosing());
    EXPECT_TRUE(client.sentOnce(77, {1, 4, 35}));
    table->clickLose();
    EXPECT_EQ(dialogText(), "") << "a second resignation while one is pending";
    logic.onDenyLose();
    runMainThread();
    EXPECT_FALSE(table->isLosing());
}

TEST_F(CoTuongTable, BubblesJoinLinesAndServerTextsStayOutOfTheHistory) {
    sit();
    table->onChatFromWithId(kOther, "mot");
    table->onChatFromWithId(kOther, "hai");
    table->onChatFromWithId(kOther, "ba");
    EXPECT_EQ(table->chatBubble(1)->subviews().front()->text(), "mot");
    advance(3);
    EXPECT_EQ(table->chatBubble(1)->subviews().front()->text(), "hai, ba");
    advance(3);
    EXPECT_TRUE(table->chatBubble(1)->isHidden());
    table->onChatFromWithId(-1, "Het gio");
    EXPECT_FALSE(table->chatBubble(2)->isHidden());
    EXPECT_EQ(table->chatBubble(2)->subviews().front()->text(), "Het gio");
    EXPECT_EQ(table->chatView()->historyChat().size(), 3u);
    table->onChatFromMeWithText("");
    EXPECT_TRUE(client.sent().empty());
}

// ---------------------------------------------------------------- pictures

class CoTuongTableShots : public CoTuongTable, public ::testing::WithParamInterface<ui::Idiom> {
protected:
    const char* language() const override { return "vi"; }
};

TEST_P(CoTuongTableShots, AMidGameBoardWithAPickedPieceAndItsMarks) {
    relaunchAs(GetParam());
    sit();
    start(kMe);
    table->moveWithWhoMove(kMe, 7, 2, 4, 2, kOther, 870, 0);
    table->moveWithWhoMove(kOther, 1, 9, 2, 7, kMe, 860, 0);
    advance(1);
    tap(1, 2);
    receiveUnreadMail();
    const std::string path = std::string("cotuong-") + (GetParam() == ui::Idiom::Tablet ? "tablet" : "phone") + ".png";
    // The centre bubble stands on the middle of the board, over its pieces.
    expectReadable(path, nullptr, {"is covered by the bubble chat4"});
    EXPECT_FALSE(marks().empty());
}

INSTANTIATE_TEST_SUITE_P(Devices, CoTuongTableShots, ::testing::Values(ui::Idiom::Phone, ui::Idiom::Tablet));

} // namespace
} // namespace kavo::test
