// The lobby road end to end: a signed-in client on the manual clock against the test
// portal, driven like a person: the game grid, the game choice, the board list and
// everything that leaves it (joins, play now, creation, going to a board by number).
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "lobby/BoardView.h"
#include "lobby/CreateNewBoard.h"
#include "lobby/GameView.h"
#include "lobby/UICustomSlider.h"
#include "net/Message.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "portal/GlobalService.h"
#include "tests/e2e/TableRoad.h"
#include "tests/support/client/ClientTestSupport.h"
#include "tests/support/client/OpenDialog.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <mutex>

namespace kavo::test {
namespace {

// A mixed list: open, locked, too dear for the player (125000), and full.
const std::vector<BoardRow> kRows = {
    {1, 5, false, 1000, 1000000, true, 2, 4},
    {1, 6, true, 500, 999999, false, 1, 4},
    {2, 0, false, 200000, 5000, false, 0, 4},
    {3, 9, false, 5000, 0, true, 4, 4},
};

struct Join {
    int16_t command;
    int room;
    int board;
    std::string password;
};

class LobbyRoad : public ClientFixture {
protected:
    void SetUp() override {
        ClientFixture::SetUp();
        rows_ = kRows;
        // The server accepts every game choice and answers every list request.
        acceptGameChoices(portal());
        portal().onCommand(2700, [this](Message&, TestPortal::Reply& reply) {
            std::lock_guard lock(rowsMutex_);
            reply.send(boardListReply(100000, rows_));
        });
    }

    // Signs in by answering the connection with the sign-in reply; the game grid opens.
    void signIn() {
        ASSERT_TRUE(signInByReply());
        advance(0.4);
    }

    // From the grid to the board list of a game, its rows shown.
    void openBoardList(const std::string& gridButton, const std::string& firstRowText = "1.000 zel") {
        portal().clearMessages();
        // The lower rows of the grid lie below the screen's edge: the player scrolls.
        const std::string scroll = gridNeedsScroll(gridButton) ? "drag id=scrollView 0 -300\nadvance 1\n" : "";
        ASSERT_TRUE(
            drives(scroll + "tap id=" + gridButton + "\nscreen BoardView 30\nadvance 0.4\nwait text=" + firstRowText));
    }

    static bool gridNeedsScroll(const std::string& button) {
        for (const char* low : {"btnMauBinh", "btnCaoRua", "btnPoker", "btnCaro", "btnXepGach", "btnGameKhac"})
            if (button == low) return true;
        return false;
    }

    template <class T> static bool topIs() {
        return bool(std::dynamic_pointer_cast<T>(KavoOnlineAppDelegate::getInstance().topViewController()));
    }
    static std::shared_ptr<BoardView> boardView() {
        return std::dynamic_pointer_cast<BoardView>(KavoOnlineAppDelegate::getInstance().topViewController());
    }

    // The first join the portal got (waiting for it).
    std::optional<Join> joinSent() {
        if (!platform::RunLoop::main().runUntil(
                [this] { return !portal().messages(8).empty() || !portal().messages(1900).empty(); }, 30))
            return std::nullopt;
        auto found = portal().messages(8);
        if (found.empty()) found = portal().messages(1900);
        Message body(found[0].commandId, found[0].body);
        Join join{found[0].commandId, 0, 0, {}};
        join.room = uint8_t(body.readByte());
        join.board = uint8_t(body.readByte());
        join.password = body.readUTF();
        return join;
    }

    int64_t lastListStake() {
        auto lists = portal().messages(2700);
        if (lists.empty()) return INT64_MIN;
        Message body(2700, lists.back().body);
        return body.readLong();
    }

    void setRows(std::vector<BoardRow> rows) {
        std::lock_guard lock(rowsMutex_);
        rows_ = std::move(rows);
    }

    std::mutex rowsMutex_;
    std::vector<BoardRow> rows_;
};

// ---------------------------------------------------------------- the road to the list

TEST_F(LobbyRoad, ChoosingAGameOpensItsBoardListWithEveryStake) {
    signIn();
    auto grid = std::dynamic_pointer_cast<GameView>(KavoOnlineAppDelegate::getInstance().topViewController());
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->gridButtons().size(), 15u);
    EXPECT_EQ(grid->lblPlayerMoney()->text(), "125.000");
    openBoardList("btnTLMN");

    auto choices = portal().messages(61);
    ASSERT_EQ(choices.size(), 1u);
    EXPECT_EQ(choices[0].body, std::vector<uint8_t>{3});
    EXPECT_EQ(lastListStake(), -1);
    EXPECT_EQ(UIController::gameType(), 3);
    EXPECT_EQ(BoardView::type(), 1) << "the card game's handler set the seat class";

    ASSERT_TRUE(drives("expect text=1.000 zel\nexpect text=1M\nexpect text=2/4\nexpect text=500 zel\nexpect text=999K\n"
                       "expect text=0K\nexpect text=4/4\nexpect text=200.000 zel\nexpect id=tfBetMoney"));
    auto list = boardView();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->boardList().size(), 4u);
    EXPECT_EQ(list->tfBetMoney()->text(), "") << "a stake of nothing is the field's hint";
    EXPECT_EQ(list->tfBetMoney()->placeholder(), "0");
    EXPECT_EQ(list->sldBetMoney()->getMaxMoneyValue(), 100000) << "capped at the list's largest stake";
    EXPECT_EQ(list->getGameButton(3), list->buttonArray().front()) << "the current game leads the strip";
}

TEST_F(LobbyRoad, ReusedBoardCellsShowTheirOwnRowsPasswordMarkIncluded) {
    // Enough boards to scroll cells out and back in with other rows.
    std::vector<BoardRow> many;
    for (int i = 0; i < 30; ++i)
        many.push_back({1, int8_t(i), i % 3 == 0, 1000 + i, 5000, false, 1, 4});
    setRows(many);
    signIn();
    openBoardList("btnTLMN", "1.000 zel");
    auto list = boardView();
    ASSERT_TRUE(list);
    auto& table = *list->tblBoardList();
    table.setContentOffset({0, 41 * 12});
    table.layoutIfNeeded();
    for (const auto& cell : table.visibleCells()) {
        auto path = table.indexPathForCell(cell.get());
        ASSERT_TRUE(path);
        const auto& board = *list->boardList()[size_t(path->row)];
        int marks = 0;
        for (const auto& image : cell->subviewsOfType<platform::ui::ImageView>()) {
            if (image->tag() == -1 && image->image()) ++marks; // lock picture and password line
        }
        EXPECT_EQ(marks, board.isPass() ? 2 : 0) << "row " << path->row;
    }
}

TEST_F(LobbyRoad, TheSortButtonsAlternateAscendingAndDescending) {
    signIn();
    openBoardList("btnTLMN");
    auto list = boardView();
    auto stakes = [&] {
        std::vector<int32_t> money;
        for (const auto& board : list->boardList())
            money.push_back(board->money());
        return money;
    };
    ASSERT_TRUE(drive("tap id=btnSortByBoardMoney").ok);
    EXPECT_EQ(stakes(), (std::vector<int32_t>{500, 1000, 5000, 200000}));
    ASSERT_TRUE(drive("tap id=btnSortByBoardMoney").ok);
    EXPECT_EQ(stakes(), (std::vector<int32_t>{200000, 5000, 1000, 500}));
    ASSERT_TRUE(drive("tap id=btnSortByBoardMoney").ok);
    EXPECT_EQ(stakes(), (std::vector<int32_t>{500, 1000, 5000, 200000}));

    ASSERT_TRUE(drive("tap id=btnSortByPlayerNumber").ok);
    std::vector<int> players;
    for (const auto& board : list->boardList())
        players.push_back(board->nPlayer());
    EXPECT_EQ(players, (std::vector<int>{0, 1, 2, 4})) << "its own direction starts ascending";
}

TEST_F(LobbyRoad, TheSearchAsksForTheStakeInTheField) {
    signIn();
    openBoardList("btnTLMN");
    ASSERT_TRUE(drives("type id=tfBetMoney 5000\ntap id=searchBoard"));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([this] { return portal().messages(2700).size() >= 2; }, 30));
    EXPECT_EQ(lastListStake(), 5000);

    // The slider writes its stake; step 0 (the field empty under its hint) searches for 0.
    boardView()->sldBetMoney()->setValue(0);
    ASSERT_TRUE(drive("tap id=searchBoard").ok);
    ASSERT_TRUE(platform::RunLoop::main().runUntil([this] { return portal().messages(2700).size() >= 3; }, 30));
    EXPECT_EQ(lastListStake(), 0);
}

TEST_F(LobbyRoad, DraggingTheSliderPicksStakesUpToTheListsLimit) {
    signIn();
    openBoardList("btnTLMN");
    ASSERT_TRUE(drives("drag id=sldBetMoney 400 0"));
    EXPECT_EQ(boardView()->tfBetMoney()->text(), "100000");
    ASSERT_TRUE(drive("drag id=sldBetMoney -400 0").ok);
    EXPECT_EQ(boardView()->tfBetMoney()->text(), "");
}

// A list comes while the player types a stake (a slow server's answer to the list he opened):
// it shows, the slider takes its limit, and what he typed stays in the field, still his to
// go on typing and to search with. Once he is not typing, a list sets the slider's stake in
// the field again.
TEST_F(LobbyRoad, AListThatComesWhileThePlayerTypesAStakeLeavesWhatHeTyped) {
    signIn();
    openBoardList("btnTLMN");
    ASSERT_TRUE(drives("type id=tfBetMoney 7"));
    const auto field = boardView()->tfBetMoney();
    ASSERT_TRUE(field->isEditing());

    ASSERT_TRUE(portal().sendToClient(boardListReply(5000, {{4, 2, false, 2500, 9000, true, 1, 4}})));
    ASSERT_TRUE(clientCaughtUp());
    ASSERT_TRUE(drives("wait text=2.500 zel"));
    EXPECT_EQ(field->text(), "7") << "the list took what the player was typing";
    EXPECT_TRUE(field->isEditing());
    EXPECT_EQ(boardView()->sldBetMoney()->getMaxMoneyValue(), 5000) << "the list's limit";

    platform::ui::Application::shared().dispatchText("77");
    ASSERT_TRUE(drives("tap id=searchBoard"));
    ASSERT_TRUE(platform::RunLoop::main().runUntil([this] { return portal().messages(2700).size() >= 2; }, 30));
    EXPECT_EQ(lastListStake(), 777);
    ASSERT_TRUE(drives("wait text=1.000 zel"));
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(field->text(), "") << "the slider's stake, step 0, once the player ended";
}

// ---------------------------------------------------------------- leaving the list for a table

TEST_F(LobbyRoad, TappingAnOpenBoardJoinsItWithAnEmptyPassword) {
    signIn();
    openBoardList("btnTLMN");
    ASSERT_TRUE(drive("tap text=1.000 zel").ok);
    auto join = joinSent();
    ASSERT_TRUE(join);
    EXPECT_EQ(join->command, 8);
    EXPECT_EQ(join->room, 1);
    EXPECT_EQ(join->board, 5);
    EXPECT_EQ(join->password, "");
    EXPECT_EQ(BoardView::numOfTouchUp(), 1);
    // No table opens: after two seconds the list is usable again.
    EXPECT_FALSE(boardView()->viewList()->isUserInteractionEnabled());
    advance(2.0);
    EXPECT_TRUE(boardView()->viewList()->isUserInteractionEnabled());
    EXPECT_EQ(BoardView::numOfTouchUp(), 0);
}

TEST_F(LobbyRoad, PlayNowAsksForAnyBoardAndFreesTheScreenAfterFiveSeconds) {
    signIn();
    openBoardList("btnTLMN");
    ASSERT_TRUE(drive("tap id=btnPlayNow").ok);
    ASSERT_TRUE(waitForCommand(28));
    auto list = boardView();
    EXPECT_FALSE(list->view()->isUserInteractionEnabled());
    advance(4.9);
    EXPECT_FALSE(list->view()->isUserInteractionEnabled());
    advance(0.2);
    EXPECT_TRUE(list->view()->isUserInteractionEnabled());
}

TEST_F(LobbyRoad, ALockedBoardAsksForItsPasswordFirst) {
    signIn();
    openBoardList("btnTLMN");
    ASSERT_TRUE(drives("tap text=500 zel\nadvance 0.3\nwait id=txtPassword\ntype id=txtPassword abc\ntap id=btnOK"));
    auto join = joinSent();
    ASSERT_TRUE(join);
    EXPECT_EQ(join->room, 1);
    EXPECT_EQ(join->board, 6);
    EXPECT_EQ(join->password, "abc");
}

TEST_F(LobbyRoad, ABoardDearerThanThePlayersMoneyOffersATopUp) {
    signIn();
    openBoardList("btnTLMN");
    ASSERT_TRUE(drive("tap text=200.000 zel").ok);
    EXPECT_EQ(dialogText(), text("KAVO_wantChargeMoney"));
    EXPECT_EQ(openDialogCode(), 9);
    auto dialog = UIController::currentDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->buttonTitleAtIndex(1), text("KAVO_loading"));
    EXPECT_TRUE(portal().messages(8).empty());
}

TEST_F(LobbyRoad, ABoardWhoseStakeIsAllThePlayersMoneyIsJoined) {
    setRows({{1, 3, false, int32_t(ClientWorld::kPlayerMoney), 500000, false, 1, 4}});
    signIn();
    openBoardList("btnTLMN", "125.000 zel");
    ASSERT_TRUE(drive("tap text=125.000 zel").ok);
    auto join = joinSent();
    ASSERT_TRUE(join);
    EXPECT_EQ(join->board, 3);
    EXPECT_EQ(dialogText(), "");
}

TEST_F(LobbyRoad, AFullChineseChessBoardIsRefusedAtOnce) {
    setRows({{1, 2, false, 1000, 5000, true, 2, 2}});
    signIn();
    openBoardList("btnCoTuong");
    ASSERT_TRUE(drive("tap text=1.000 zel").ok);
    EXPECT_EQ(dialogText(), text("KAVO_cannotJoinBoard"));
    EXPECT_TRUE(portal().messages(1900).empty());
}

// ---------------------------------------------------------------- the sheets over the list

TEST_F(LobbyRoad, CreatingABoardSendsTheCorrectedFields) {
    signIn();
    openBoardList("btnTLMN");
    // The panel's stake field is the second tfBetMoney on screen (the list has one too).
    ASSERT_TRUE(drives("tap id=btnCreateBoard\nwait id=mainView\nexpect text=/ 10K zel\n"
                       "type id=tfBetMoney#2 99999\ntype id=tfPlayerNumber 9\nadvance 0.3\ntype id=tfPassword pw\n"
                       "tap id=createBoard"));
    ASSERT_TRUE(waitForCommand(2702));
    Message body(2702, portal().messages(2702)[0].body);
    EXPECT_EQ(body.readInt(), 0);
    EXPECT_EQ(body.readInt(), 10000) << "a fifth of 125000 covers the 10000 step";
    EXPECT_EQ(body.readByte(), 4) << "Tien Len boards have four seats";
    EXPECT_EQ(body.readUTF(), "pw");
}

TEST_F(LobbyRoad, GoingToABoardByNumberKeepsToTheLimits) {
    signIn();
    openBoardList("btnTLMN");
    ASSERT_TRUE(drives("tap id=btnGotoBoard\nadvance 0.4\ntype id=txtRoom 1\ntype id=txtBoard 125\ntap id=btnOK"));
    EXPECT_EQ(dialogText(), text("KAVO_gioiHanNhap"));
    UIController::closeDialog();
    ASSERT_TRUE(drives("type id=txtBoard 124\ntap id=btnOK"));
    auto join = joinSent();
    ASSERT_TRUE(join);
    EXPECT_EQ(join->room, 1);
    EXPECT_EQ(join->board, 124);
}

TEST_F(LobbyRoad, TheStripSwitchesGamesWithoutASecondBoardList) {
    signIn();
    openBoardList("btnTLMN");
    const size_t depth = KavoOnlineAppDelegate::getInstance().navigationController()->viewControllers().size();
    portal().clearMessages();
    ASSERT_TRUE(drive("tap id=selectGame12").ok);
    ASSERT_TRUE(platform::RunLoop::main().runUntil([this] { return !portal().messages(2700).empty(); }, 30));
    EXPECT_EQ(portal().messages(61)[0].body, std::vector<uint8_t>{12});
    EXPECT_EQ(lastListStake(), -1);
    advance(0.4);
    EXPECT_EQ(KavoOnlineAppDelegate::getInstance().navigationController()->viewControllers().size(), depth);
    EXPECT_EQ(UIController::gameType(), 12);
    auto list = boardView();
    EXPECT_EQ(list->getGameButtonLabel(12)->textColor(), platform::ui::Color::orange());
    EXPECT_EQ(list->getGameButtonLabel(3)->textColor(), platform::ui::Color::white());

    // The game already shown is asked for again all the same.
    portal().clearMessages();
    ASSERT_TRUE(drive("tap id=selectGame12").ok);
    ASSERT_TRUE(waitForCommand(61));
}

TEST_F(LobbyRoad, APrivateMessageOnTheBoardListGoesIntoTheMailbox) {
    signIn();
    openBoardList("btnTLMN");
    const size_t before = UIController::listMessage().size();
    ASSERT_TRUE(portal().sendToClient(Bytes().int32(77).utf("Binh").utf("xin chao").message(5)));
    ASSERT_TRUE(
        platform::RunLoop::main().runUntil([&] { return UIController::listMessage().size() == before + 1; }, 30));
    EXPECT_EQ(UIController::listMessage().front()->message(), "xin chao");
}

// ---------------------------------------------------------------- pictures

class LobbyScreens : public LobbyRoad, public ::testing::WithParamInterface<platform::ui::Idiom> {};

TEST_P(LobbyScreens, TheGridAndTheBoardListArePhotographed) {
    platform::ui::Screen::setIdiom(GetParam());
    signIn();
    auto grid = std::dynamic_pointer_cast<GameView>(KavoOnlineAppDelegate::getInstance().topViewController());
    ASSERT_TRUE(grid);
    std::vector<std::shared_ptr<Player>> friends;
    for (int i = 0; i < 4; ++i) {
        auto player = std::make_shared<Player>();
        player->setIDDB(100 + i);
        player->setName("ban" + std::to_string(i));
        player->setMoney(12000 * (i + 1));
        player->setIsReady(i % 2);
        friends.push_back(player);
    }
    grid->set_arrayAllFriends(friends);
    grid->forceReloadData();

    const std::string idiom = GetParam() == platform::ui::Idiom::Tablet ? "tablet" : "phone";
    const std::filesystem::path folder = std::filesystem::current_path() / "screenshots";
    std::filesystem::create_directories(folder);
    const std::string gridShot = (folder / ("lobby-grid-" + idiom + ".png")).string();
    const std::string listShot = (folder / ("lobby-boards-" + idiom + ".png")).string();
    ASSERT_TRUE(drive("shot " + gridShot).ok);
    openBoardList("btnTLMN");
    ASSERT_TRUE(drive("shot " + listShot).ok);
    EXPECT_TRUE(std::filesystem::exists(gridShot));
    EXPECT_TRUE(std::filesystem::exists(listShot));

    // The two sheets most used over the list.
    const std::string createShot = (folder / ("lobby-create-" + idiom + ".png")).string();
    const std::string gotoShot = (folder / ("lobby-goto-" + idiom + ".png")).string();
    ASSERT_TRUE(drives("tap id=btnCreateBoard\nadvance 0.5\nshot " + createShot +
                       "\ntap id=doCloseThisView\ntap id=btnGotoBoard\nadvance 0.5\nshot " + gotoShot));
}

INSTANTIATE_TEST_SUITE_P(Idioms, LobbyScreens,
                         ::testing::Values(platform::ui::Idiom::Phone, platform::ui::Idiom::Tablet), idiomName);

} // namespace
} // namespace kavo::test
