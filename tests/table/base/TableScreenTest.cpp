#include "app/UIController.h"
#include "app/widgets/CustomUIScrollView.h"
#include "games/baicao/BaiCaoView.h"
#include "games/baucua/BauCuaView.h"
#include "games/caorua/CaoRuaView.h"
#include "games/caro/CaroBoard.h"
#include "games/caro/CaroView.h"
#include "games/cotuong/CoTuongLogicHandler.h"
#include "games/cotuong/CoTuongView.h"
#include "games/coup/CoUpLogicHandler.h"
#include "games/coup/CoUpView.h"
#include "games/covua/CoVuaView.h"
#include "games/maubinh/MauBinhView.h"
#include "games/phom/PhomNewView.h"
#include "games/poker/PokerView.h"
#include "games/tetris/TetrisView.h"
#include "games/tienlen/TienLenView.h"
#include "games/tienlenmb/TienLenMBView.h"
#include "games/xizach/XiZachView.h"
#include "platform/runtime/RunLoop.h"
#include "platform/ui/Application.h"
#include "social/ChatView.h"
#include "table/base/ChessPlayer.h"
#include "table/base/TienLenPlayer.h"
#include "table/registry/GameController.h"
#include "table/sheets/InviteView.h"
#include "table/sheets/boardChat.h"
#include "table/sheets/menuCuoc.h"
#include "table/sheets/menuPassword.h"
#include "tests/table/TableTestSupport.h"

#include <algorithm>
#include <functional>

namespace kavo::test {
namespace {

class TableScreen : public TableTest {
protected:
    // A Tien Len table at room 2, board 5, on top of the navigation stack.
    std::shared_ptr<TienLenView> seatAtTienLen() {
        auto table = std::make_shared<TienLenView>();
        table->setRoomId(2);
        table->setBoardId(5);
        GameController::setTableView(table);
        push(table);
        UIController::setGameType(3);
        return table;
    }
    // Opens a sheet over the top screen as the screen base does.
    void open(platform::ui::ViewController& sheet) {
        top()->view()->addSubview(sheet.view());
        sheet.viewWillAppear(false);
        runMainThread();
    }
};

TEST_F(TableScreen, EveryTableShowsItsGamesName) {
    const std::vector<std::pair<platform::ui::ViewControllerPtr, const char*>> tables = {
        {std::make_shared<TienLenView>(), "KAVO_tienLen"}, {std::make_shared<TienLenMBView>(), "KAVO_tienLenMB"},
        {std::make_shared<PhomNewView>(), "KAVO_phom"},    {std::make_shared<BaiCaoView>(), "KAVO_baicao"},
        {std::make_shared<XiZachView>(), "KAVO_xiZach"},   {std::make_shared<MauBinhView>(), "KAVO_MauBinh"},
        {std::make_shared<CoTuongView>(), "KAVO_coTuong"}, {std::make_shared<CoUpView>(), "KAVO_coUp"},
        {std::make_shared<CaoRuaView>(), "KAVO_CaoRua"},   {std::make_shared<PokerView>(), "KAVO_poker"},
        {std::make_shared<CoVuaView>(), "KAVO_coVua"},     {std::make_shared<CaroView>(), "KAVO_caro"},
        {std::make_shared<BauCuaView>(), "KAVO_BauCua"},   {std::make_shared<TetrisView>(), "KAVO_tetris"},
    };
    for (const auto& [table, key] : tables) {
        push(table);
        auto screen = std::dynamic_pointer_cast<GameTableView>(table);
        ASSERT_TRUE(screen);
        EXPECT_TRUE(screen->isTableScreen());
        EXPECT_EQ(screen->lblTitle()->text(), text(key));
        EXPECT_TRUE(screen->inviteView());
    }
}

TEST_F(TableScreen, TheBackButtonAsksTheTableToLeave) {
    auto table = seatAtTienLen();
    KavoOnlineAppDelegate::getInstance().doBack();
    runMainThread();
    EXPECT_TRUE(client.sentOnce(15, {2, 5}));
    EXPECT_NE(top(), table);
}

TEST_F(TableScreen, TypingInThePrivateChatLiftsThePanelOnce) {
    auto chat = ChatView::make({0, 200, 480, 100});
    auto field = CustomTextField::make({10, 10, 200, 30});
    field->setParentViewController(chat.get());
    chat->beginEdit(*field);
    chat->beginEdit(*field);
    EXPECT_EQ(chat->frame().y(), 200 - ChatView::editLift());
    chat->endEditing(*field);
    EXPECT_EQ(chat->frame().y(), 200);
}

TEST_F(TableScreen, PlayerDetailAndMoneyReachTheSeatsOfABoardGame) {
    auto table = std::make_shared<CoVuaView>();
    table->setRoomId(2);
    table->setBoardId(5);
    GameController::setTableView(table);
    push(table);
    UIController::setGameType(9);
    auto seated = std::make_shared<Player>();
    seated->setIDDB(7);
    seated->setName("an");
    table->setupPlayersWithRoom(2, 5, 7, 100, {seated});
    platform::Value::Array detail{"an", int64_t(1234567), 3, 10, 1, 2, 3, 4};
    table->onRequestDetail(platform::Value(detail));
    drive("expect text=an: 1,234,567 Zel");
    table->onRequestDetail(platform::Value(platform::Value::Array{"short"})); // dropped
    EXPECT_EQ(table->lastDetailText(), "an: 1,234,567 Zel");
    table->updateMoneyWithUserId(7, 999);
    EXPECT_EQ(seated->money(), 999);
    table->updateMoneyWithUserId(8, 1); // nobody there
    table->onShowGift(3, 7, 99);
    EXPECT_EQ(table->lastGiftText(), "an -> 99 #3");
}

TEST_F(TableScreen, ATableThatIsLetGoStopsItsTimer) {
    auto table = std::make_shared<BauCuaView>();
    int ticks = 0;
    struct Ticking : BauCuaView {
        int* ticks = nullptr;
        void updateAction() override { ++*ticks; }
    };
    auto ticking = std::make_shared<Ticking>();
    ticking->ticks = &ticks;
    ticking->startUpdateAction(0.5);
    platform::RunLoop::main().advance(1.1);
    EXPECT_EQ(ticks, 2);
    ticking.reset();
    platform::RunLoop::main().advance(1.0);
    EXPECT_EQ(ticks, 2);
}

TEST_F(TableScreen, CaroBoardHoldsItsGridInATapPassingScrollView) {
    auto board = CaroBoard::make({0, 0, 300, 300});
    ASSERT_TRUE(board->scrollView());
    EXPECT_EQ(board->grid()->superview(), board->scrollView().get());
    EXPECT_EQ(board->scrollView()->contentSize().width, CaroBoard::cellSize() * CaroBoard::kCells);
}

// Escape closes the topmost panel a table opened of its own (the seat menu, the captured
// pieces, the sheets of bets, players, chat, gifts and invitations) and nothing more: the
// player is still at the table and is not asked to leave. With nothing open it is the back.
TEST_F(TableScreen, EscapeClosesTheTablesTopPanelAndLeavesThePlayerAtTheTable) {
    using Show = void (*)(int8_t, int8_t, int32_t, int32_t, const PlayerList&);
    auto seatAt = [](Show show) {
        return [show] {
            auto me = std::make_shared<TienLenPlayer>();
            me->setIDDB(7);
            me->setName("me");
            UIController::setMyInfo(me);
            auto an = std::make_shared<TienLenPlayer>();
            an->setIDDB(8);
            an->setName("an");
            show(2, 5, 7, 1000, {me, an});
        };
    };
    auto chessAt = [](int8_t gameType) {
        return [gameType] {
            ChessPlayerList players;
            for (const auto& [id, name] : {std::pair{7, "me"}, std::pair{8, "an"}}) {
                players.push_back(std::make_shared<ChessPlayer>());
                players.back()->setIDDB(id);
                players.back()->setName(name);
            }
            UIController::setMyInfo(players.front());
            if (gameType == 5)
                CoTuongLogicHandler::applyJoin(false, 2, 5, 7, 1000, players);
            else
                CoUpLogicHandler::getInstance().joinTable(false, 2, 5, 7, 1000, players);
        };
    };
    const std::vector<const char*> cardPanels = {"tap id=btnSeat1", "tap id=btnSeat2", "tap id=btnChat",
                                                 "tap id=btnCuoc",
                                                 "tap id=btnSeat1\nadvance 1\ntap id=btnPlayerPresent1"};
    const std::vector<const char*> chessPanels = {"tap id=btnSeat2", "tap id=btnChat", "tap id=btnCuoc",
                                                  "tap id=btnSeat2\nadvance 1\ntap id=btnPlayerPresent1"};
    const std::vector<const char*> seatedPanels = {"tap id=btnSeat1", "tap id=btnChat", "tap id=btnCuoc",
                                                   "tap id=btnSeat1\nadvance 1\ntap id=btnPresentGift"};
    struct Row {
        int8_t gameType;
        std::function<void()> sit;
        std::vector<const char*> panels;
    };
    std::vector<const char*> coUpPanels = chessPanels;
    coUpPanels.push_back("tap id=clickViewPlayer");
    const std::vector<Row> rows = {
        {3, seatAt(&GameController::showTienLenScreenWithRoom), cardPanels},
        {12, seatAt(&GameController::showTienLenMBScreenWithRoom), cardPanels},
        {6, seatAt(&GameController::showPhomNewScreenWithRoom), cardPanels},
        {16, seatAt(&GameController::showMauBinhScreenWithRoom), cardPanels},
        {11, seatAt(&GameController::showBaiCaoScreenWithRoom), cardPanels},
        {2, seatAt(&GameController::showXiZachScreenWithRoom), cardPanels},
        {17, seatAt(&GameController::showCaoRuaScreenWithRoom), cardPanels},
        {5, chessAt(5), chessPanels},
        {20, chessAt(20), coUpPanels},
        {1, seatAt(&GameController::showCaroScreenWithRoom), seatedPanels},
        {8, seatAt(&GameController::showTetrisScreenWithRoom), seatedPanels},
        {9, seatAt(&GameController::showCoVuaScreenWithRoom), seatedPanels},
        {4, seatAt(&GameController::showPokerScreenWithRoom), seatedPanels},
        {18, seatAt(&GameController::showBauCuaScreenWithRoom), seatedPanels},
    };
    auto& app = platform::ui::Application::shared();
    for (const Row& row : rows) {
        SCOPED_TRACE(int(row.gameType));
        UIController::setGameType(row.gameType);
        platform::runOnMainThread(row.sit);
        runMainThread();
        platform::RunLoop::main().advance(1);
        auto table = top();
        ASSERT_TRUE(std::dynamic_pointer_cast<GameTableView>(table));
        // What shows over the table, in no particular order (opening raises views).
        auto shown = [&table] {
            std::vector<const platform::ui::View*> views;
            for (const auto& subview : table->view()->subviews())
                if (!subview->isHidden()) views.push_back(subview.get());
            std::sort(views.begin(), views.end());
            return views;
        };
        const auto bare = shown();
        for (const char* panel : row.panels) {
            SCOPED_TRACE(panel);
            drive(panel);
            platform::RunLoop::main().advance(1);
            ASSERT_NE(shown(), bare) << "a panel opened";
            client.clear();
            app.dispatchKey(platform::ui::Key::Escape);
            platform::RunLoop::main().advance(1);
            EXPECT_EQ(dialogText(), "") << "no leave question";
            ASSERT_EQ(top(), table) << "still at the table";
            EXPECT_EQ(shown(), bare) << "the panel closed";
            EXPECT_TRUE(client.sent().empty());
        }
        app.dispatchKey(platform::ui::Key::Escape);
        runMainThread();
        EXPECT_TRUE(top() != table || dialogText() != "") << "with nothing open Escape is the back";
        UIController::closeDialog();
        if (auto nav = KavoOnlineAppDelegate::getInstance().navigationController()) nav->popToRootViewController(false);
        runMainThread();
    }
}

} // namespace
} // namespace kavo::test
