// The hidden-piece table screen on the manual clock: face-down pieces, reveals named by
// move reports, snapshots, the captured pieces' panel and the seats of a viewer.
#include "app/Resources.h"
#include "app/UIController.h"
#include "games/cotuong/CCBoard.h"
#include "games/cotuong/Team.h"
#include "games/coup/CoUpChessMan.h"
#include "games/coup/CoUpLogicHandler.h"
#include "games/coup/CoUpView.h"
#include "platform/render/Renderer.h"
#include "platform/runtime/RunLoop.h"
#include "table/base/ChessPlayer.h"
#include "table/registry/GameController.h"
#include "tests/support/client/ReadableScreen.h"
#include "tests/table/games/ChessTable.h"

#include <algorithm>
#include <set>

namespace kavo::test {
namespace {

namespace ui = platform::ui;

constexpr int32_t kChu = 30;

PieceServer at(int x, int y, int type, int isMove) {
    return {int8_t(x), int8_t(y), int8_t(type), int8_t(isMove)};
}

std::shared_ptr<CoUpChessMan> coUp(const std::shared_ptr<Piece>& piece) {
    return std::dynamic_pointer_cast<CoUpChessMan>(piece);
}

class CoUpTable : public ChessTable<CoUpView> {
protected:
    void SetUp() override {
        ChessTable::SetUp();
        signIn(20);
    }

    // Joins room 1, board 4 with these records (me and the other player by default).
    std::shared_ptr<CoUpView> sit(ChessPlayerList players = {}) {
        if (players.empty()) players = {record(kMe, "an ba"), record(kOther, "binh")};
        CoUpLogicHandler::getInstance().joinTable(false, 1, 4, players.front()->IDDB(), 500, players);
        runMainThread();
        table = GameController::getCoUpView();
        client.clear();
        return table;
    }
    // The stake's chip as the player sees it.
    static const ui::View* visibleChip() { return visibleViewWithIdentifier("btnBet"); }
    std::vector<std::shared_ptr<Piece>> piecesAt(int x, int y) {
        std::vector<std::shared_ptr<Piece>> found;
        for (const auto& piece : board().getAllPieces())
            if (piece->x() == x && piece->y() == y) found.push_back(piece);
        return found;
    }
    size_t splitTiles() {
        size_t tiles = 0;
        for (const auto& view : board().subviews())
            tiles += view->accessibilityIdentifier().rfind("pieceSplit", 0) == 0 ? 1 : 0;
        return tiles;
    }
    // The panel's icons: picture name and frame.
    std::vector<std::pair<std::string, ui::Rect>> icons() {
        std::vector<std::pair<std::string, ui::Rect>> found;
        for (const auto& view : table->bgViewCoAn()->subviews()) {
            if (view->tag() != CoUpView::kIconTag) continue;
            auto picture = std::dynamic_pointer_cast<ui::ImageView>(view);
            found.emplace_back(picture && picture->image() ? picture->image()->name() : "", view->frame());
        }
        return found;
    }
    bool loadingShown() {
        for (const auto& view : table->bgViewCoAn()->subviews())
            if (view->tag() != CoUpView::kIconTag) return true;
        return false;
    }
};

// ---------------------------------------------------------------- pieces

TEST_F(CoUpTable, ANewGameShowsTheGeneralsFaceUpAndThirtyPiecesFaceDownOnTheirSquares) {
    sit();
    start(kMe);
    const auto all = board().getAllPieces();
    ASSERT_EQ(all.size(), 32u);
    std::set<std::pair<int, int>> faceDown;
    for (const auto& piece : all) {
        auto hidden = coUp(piece);
        ASSERT_TRUE(hidden);
        if (piece->kind() == PieceKind::Jiang) {
            EXPECT_FALSE(hidden->isFaceDown());
            continue;
        }
        EXPECT_TRUE(hidden->isFaceDown());
        EXPECT_EQ(piece->image()->name(),
                  piece->team()->name() == "an ba" ? "icon_coup_black.png" : "icon_coup_red.png");
        faceDown.insert({piece->x(), piece->y()});
    }
    EXPECT_EQ(faceDown.size(), 30u);
    ASSERT_EQ(piecesAt(4, 0).size(), 1u);
    ASSERT_EQ(piecesAt(4, 9).size(), 1u);
    EXPECT_EQ(piecesAt(4, 0).front()->image()->name(), "ct_b_jiang.png") << "I move first: black at my bottom";
    EXPECT_EQ(piecesAt(4, 9).front()->image()->name(), "ct_r_jiang.png");
    EXPECT_EQ(piecesAt(1, 2).front()->kind(), PieceKind::Pao) << "a face-down piece moves as its square's kind";
    EXPECT_EQ(piecesAt(1, 2).front()->image()->name(), "icon_coup_black.png");
    EXPECT_EQ(piecesAt(8, 6).front()->kind(), PieceKind::Zu);
    EXPECT_EQ(piecesAt(8, 6).front()->image()->name(), "icon_coup_red.png");
}

TEST_F(CoUpTable, AFaceDownAdvisorKeepsToItsPalaceAndARevealedOneDoesNot) {
    sit();
    snapshot({at(4, 0, 1, 1), at(3, 2, 2, 0), at(2, 4, 3, 0)}, {at(4, 9, 1, 1), at(5, 7, 2, 1), at(6, 5, 3, 1)});
    auto hiddenAdvisor = piecesAt(3, 2).front();
    EXPECT_TRUE(hiddenAdvisor->isMoveAllowed(4, 1));
    EXPECT_FALSE(hiddenAdvisor->isMoveAllowed(2, 1)) << "outside its palace";
    EXPECT_FALSE(hiddenAdvisor->isMoveAllowed(2, 3));
    auto openAdvisor = piecesAt(5, 7).front();
    for (auto [x, y] : {std::pair{4, 8}, {6, 8}, {4, 6}, {6, 6}})
        EXPECT_TRUE(openAdvisor->isMoveAllowed(x, y)) << x << "," << y;
    auto hiddenElephant = piecesAt(2, 4).front();
    EXPECT_FALSE(hiddenElephant->isMoveAllowed(0, 6)) << "a face-down elephant stays on its half";
    EXPECT_TRUE(hiddenElephant->isMoveAllowed(0, 2));
    auto openElephant = piecesAt(6, 5).front();
    EXPECT_TRUE(openElephant->isMoveAllowed(4, 3)) << "a revealed elephant crosses the river";
    EXPECT_TRUE(openElephant->isMoveAllowed(8, 3));
}

// ---------------------------------------------------------------- reveals

TEST_F(CoUpTable, AReportedRevealSwapsThePieceOnceAtThreeTenths) {
    sit();
    start(kMe);
    CoUpLogicHandler::getInstance().onMoveWithWhoMove(kMe, 0, 3, 0, 4, kOther, 880, 5);
    runMainThread();
    EXPECT_EQ(table->turn(), kOther);
    ASSERT_EQ(piecesAt(0, 4).size(), 1u);
    EXPECT_TRUE(coUp(piecesAt(0, 4).front())->isFaceDown()) << "still sliding face down";
    advance(0.29);
    EXPECT_EQ(splitTiles(), 0u);
    EXPECT_TRUE(coUp(piecesAt(0, 4).front())->isFaceDown());
    advance(0.02);
    const auto there = piecesAt(0, 4);
    ASSERT_EQ(there.size(), 1u) << "listed once";
    EXPECT_FALSE(coUp(there.front())->isFaceDown());
    EXPECT_EQ(there.front()->kind(), PieceKind::Ju);
    EXPECT_EQ(there.front()->image()->name(), "ct_b_ju.png");
    EXPECT_EQ(there.front()->team()->name(), "an ba") << "in the mover's team";
    EXPECT_EQ(there.front()->alpha(), 1) << "faded in";
    EXPECT_EQ(splitTiles(), 4u) << "the face-down piece left with the capture effect";
    EXPECT_EQ(board().getAllPieces().size(), 32u);
    size_t mine = 0;
    for (const auto& piece : board().getAllPieces())
        mine += piece->team()->name() == "an ba" ? 1 : 0;
    EXPECT_EQ(mine, 16u);
}

TEST_F(CoUpTable, AMoveWithNewTypeZeroOrOutOfRangeRevealsNothing) {
    sit();
    start(kMe);
    table->moveWithWhoMove(kMe, 0, 3, 0, 4, kOther, 880, 0);
    table->moveWithWhoMove(kOther, 0, 6, 0, 5, kMe, 870, 8);
    advance(1);
    EXPECT_TRUE(coUp(piecesAt(0, 4).front())->isFaceDown());
    EXPECT_TRUE(coUp(piecesAt(0, 5).front())->isFaceDown());
    EXPECT_EQ(splitTiles(), 0u);
}

TEST_F(CoUpTable, ARevealPendingWhenTheBoardIsRebuiltAddsNoStrayPiece) {
    sit();
    start(kMe);
    table->moveWithWhoMove(kMe, 0, 3, 0, 4, kOther, 880, 5);
    advance(0.1);
    snapshot({at(4, 0, 1, 1)}, {at(4, 9, 1, 1)});
    advance(1);
    EXPECT_EQ(board().getAllPieces().size(), 2u);
    EXPECT_TRUE(piecesAt(0, 4).empty());

    start(kMe);
    table->moveWithWhoMove(kMe, 0, 3, 0, 4, kOther, 880, 6);
    table->onLeftTable();
    advance(1);
    EXPECT_TRUE(coUp(piecesAt(0, 4).front())->isFaceDown()) << "the table was left";
}

TEST_F(CoUpTable, ASnapshotBuildsFaceUpAndFaceDownPiecesByTheirFlag) {
    sit();
    snapshot({at(1, 0, 4, 1), at(7, 0, 4, 0), at(4, 0, 1, 0), at(0, 0, 9, 1)}, {at(4, 9, 1, 1), at(0, 9, 0, 0)});
    EXPECT_EQ(board().getAllPieces().size(), 4u) << "types 9 and 0 add nothing";
    auto open = coUp(piecesAt(1, 0).front());
    EXPECT_EQ(open->kind(), PieceKind::Ma);
    EXPECT_FALSE(open->isFaceDown());
    auto hidden = coUp(piecesAt(7, 0).front());
    EXPECT_EQ(hidden->kind(), PieceKind::Ma);
    EXPECT_TRUE(hidden->isFaceDown());
    auto general = coUp(piecesAt(4, 0).front());
    EXPECT_EQ(general->kind(), PieceKind::Jiang);
    EXPECT_FALSE(general->isFaceDown()) << "a general is never face down";
}

// The stake's chip stands beside the board while a game's pieces lie on it, whoever started
// the game and however the board was laid: a soldier moved onto the river row and revealed
// reads whole. Between games, on the empty board, it waits in the middle.
TEST_F(CoUpTable, TheStakesChipCoversNoPieceWhileAGameIsOn) {
    sit();
    const ui::View* bet = visibleChip();
    ASSERT_TRUE(bet);
    const ui::Rect boardFrame = board().convertRect(board().bounds(), nullptr);
    EXPECT_TRUE(boardFrame.contains(bet->convertRect(bet->bounds(), nullptr))) << "in the middle of the empty board";
    auto coveredPieces = [&] {
        std::string covered;
        const ui::Rect drawn = bet->convertRect(bet->bounds(), nullptr);
        for (const auto& piece : board().getAllPieces())
            if (drawn.intersects(piece->convertRect(piece->bounds(), nullptr)))
                covered += " " + piece->accessibilityIdentifier();
        return covered;
    };
    for (int32_t first : {kOther, kMe}) {
        SCOPED_TRACE(first == kMe ? "my start" : "the other player's start");
        start(first);
        advance(1);
        EXPECT_EQ(coveredPieces(), "");
    }
    table->moveWithWhoMove(kMe, 2, 3, 2, 4, kOther, 880, 5);
    table->moveWithWhoMove(kOther, 2, 6, 2, 5, kMe, 870, 5);
    advance(1);
    EXPECT_EQ(coveredPieces(), "") << "the soldiers moved onto the river rows";
    snapshot({at(4, 0, 1, 1), at(2, 4, 5, 1), at(3, 4, 7, 0)}, {at(4, 9, 1, 1), at(2, 5, 5, 1)});
    advance(1);
    EXPECT_EQ(coveredPieces(), "") << "a board rebuilt from a snapshot";
}

// ---------------------------------------------------------------- the captured pieces

TEST_F(CoUpTable, TheBlackPlayersListLaysOutItsIconsFiveToARow) {
    sit();
    start(kMe);
    ASSERT_EQ(table->black(), "an ba");
    drive("tap id=clickViewPlayer");
    EXPECT_TRUE(client.sentOnce(86, {1, 4, 33}));
    EXPECT_FALSE(table->viewCoAn()->isHidden());
    EXPECT_EQ(table->btnXemCoAn()->tag(), 0) << "the control reads the state without changing it";
    table->getListEatPiece({{5, 2}, {7, 3}});
    EXPECT_EQ(icons(), (std::vector<std::pair<std::string, ui::Rect>>{{"ct_b_ju.png", {5, 5, 40, 40}},
                                                                      {"ct_b_ju.png", {55, 5, 40, 40}},
                                                                      {"ct_b_zu.png", {105, 5, 40, 40}},
                                                                      {"ct_b_zu.png", {155, 5, 40, 40}},
                                                                      {"ct_b_zu.png", {205, 5, 40, 40}}}));
    table->getListEatPiece({{5, 2}, {7, 3}, {9, 1}, {0, 4}, {4, 1}});
    const auto again = icons();
    ASSERT_EQ(again.size(), 6u) << "the new list replaces the old icons; unknown types and counts add none";
    EXPECT_EQ(again[5], (std::pair<std::string, ui::Rect>{"ct_b_ma.png", {5, 55, 40, 40}}));

    // The panel covers the board: a tap puts it away, the state stays.
    drive("tap id=bgViewCoAn");
    EXPECT_TRUE(table->viewCoAn()->isHidden());
    EXPECT_EQ(table->btnXemCoAn()->tag(), 0);
    drive("tap id=clickViewPlayer");
    EXPECT_FALSE(table->viewCoAn()->isHidden());
    EXPECT_EQ(icons().size(), 6u) << "shown until the new list arrives";
}

TEST_F(CoUpTable, TheHiddenButtonOpensThePanelWithALoadingMarkAndClosesIt) {
    sit();
    start(kMe);
    EXPECT_TRUE(table->btnXemCoAn()->isHidden());
    EXPECT_EQ(table->btnXemCoAn()->titleForState(ui::ControlState::Normal), text("KAVO_eatPiece"));
    table->clickViewCoAn();
    EXPECT_EQ(table->btnXemCoAn()->tag(), 1);
    EXPECT_TRUE(client.sentOnce(86, {1, 4, 33}));
    advance(0.4);
    EXPECT_TRUE(loadingShown());
    table->getListEatPiece({{6, 1}});
    EXPECT_FALSE(loadingShown());
    EXPECT_EQ(icons().size(), 1u);
    table->clickViewCoAn();
    EXPECT_EQ(table->btnXemCoAn()->tag(), 0);
    EXPECT_TRUE(icons().empty());
    advance(0.4);
    EXPECT_TRUE(table->viewCoAn()->isHidden());
}

TEST_F(CoUpTable, AViewerGetsNoIconsAndTheLoadingMarkGoes) {
    sit({record(kChu, "chu"), record(kOther, "binh")});
    start(kChu);
    table->clickViewCoAn();
    advance(0.4);
    ASSERT_TRUE(loadingShown());
    table->getListEatPiece({{5, 2}, {7, 3}});
    EXPECT_TRUE(icons().empty());
    EXPECT_FALSE(loadingShown());
}

TEST_F(CoUpTable, TheEndOfAGameHidesThePanelAndKeepsItsState) {
    sit();
    start(kMe);
    table->clickViewCoAn();
    advance(0.4);
    table->closeBoardWithInfo(std::nullopt);
    EXPECT_TRUE(table->viewCoAn()->isHidden());
    EXPECT_EQ(table->btnXemCoAn()->tag(), 1);
    EXPECT_EQ(table->view()->subviews().back(), table->viewCoAn()) << "over the stake panel";
}

// ---------------------------------------------------------------- panels and seats

TEST_F(CoUpTable, ThereIsNoUndoPanelAndOnlyDrawAndLoseAreRemoved) {
    sit();
    start(kMe);
    auto find = [&](const std::string& id) {
        std::function<bool(const ui::View&)> walk = [&](const ui::View& view) {
            if (view.accessibilityIdentifier() == id) return true;
            for (const auto& child : view.subviews())
                if (walk(*child)) return true;
            return false;
        };
        return walk(*table->view());
    };
    EXPECT_FALSE(find("viewUndo"));
    EXPECT_FALSE(find("btnUndo"));
    EXPECT_TRUE(find("clickViewPlayer"));
    table->removeButton(0);
    EXPECT_TRUE(table->btnDraw()->isEnabled());
    EXPECT_TRUE(table->btnLose()->isEnabled());
    table->removeButton(1);
    EXPECT_FALSE(table->btnDraw()->isEnabled());
    table->removeButton(2);
    EXPECT_FALSE(table->btnLose()->isEnabled());
    table->clickDraw();
    EXPECT_TRUE(client.sentOnce(86, {1, 4, 30}));
}

TEST_F(CoUpTable, GettingReadyKeepsTheLastGamesPieces) {
    sit({record(kOther, "binh"), record(kMe, "an ba")});
    start(kOther);
    table->closeBoardWithInfo(std::nullopt);
    table->setKindOfStart(1);
    ASSERT_EQ(table->btnStart()->titleLabel()->text(), text("KAVO_ready"));
    drive("tap id=btnStart");
    EXPECT_TRUE(client.sentOnce(16, {1, 4, 1}));
    EXPECT_EQ(board().getAllPieces().size(), 32u);
}

TEST_F(CoUpTable, AViewerSeesTheFirstRecordSitDownBelowAndItsSeatEmptyWhenItLeaves) {
    sit({record(-1, ""), record(kOther, "binh")});
    ASSERT_EQ(table->indexOfMe(), -1);
    table->setAtSeat(0, record(kChu, "chu"));
    drive("expect text=chu");
    EXPECT_EQ(table->chessPlayers()[0]->name(), "chu");
    table->playerLeaveWithId(kChu);
    drive("expect text=binh");
    drive("expect-not text=chu");
    table->playerLeaveWithId(kOther);
    drive("expect-not text=binh");
}

// ---------------------------------------------------------------- pictures

class CoUpTableShots : public CoUpTable, public ::testing::WithParamInterface<ui::Idiom> {
protected:
    const char* language() const override { return "vi"; }
};

TEST_P(CoUpTableShots, FaceDownAndRevealedPiecesWithTheCapturedPiecesPanelOpen) {
    relaunchAs(GetParam());
    sit();
    start(kMe);
    table->moveWithWhoMove(kMe, 1, 2, 1, 9, kOther, 870, 6);
    table->moveWithWhoMove(kOther, 0, 6, 0, 5, kMe, 860, 7);
    advance(1);
    table->clickViewPlayer();
    table->getListEatPiece({{5, 2}, {7, 3}, {4, 1}});
    const std::string device = GetParam() == ui::Idiom::Tablet ? "tablet" : "phone";
    const std::string path = "coup-" + device + ".png";
    expectReadable(path);
    EXPECT_EQ(icons().size(), 6u);
    EXPECT_FALSE(coUp(piecesAt(1, 9).front())->isFaceDown());
}

INSTANTIATE_TEST_SUITE_P(Devices, CoUpTableShots, ::testing::Values(ui::Idiom::Phone, ui::Idiom::Tablet));

} // namespace
} // namespace kavo::test
