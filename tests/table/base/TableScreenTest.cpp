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

class TableScreen : public TableTest {};

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
    auto seated = playerRecord<Player>(7, "an", 0);
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
// pieces, the sheets of bets, players, chat, gifts and invitations; the bets sheet a guest
// opens between hands at Bai Cao and Xi Zach) and nothing more: the player is still at
// the table and is not asked to leave. With nothing open it is the back.
TEST_F(TableScreen, EscapeClosesTheTablesTopPanelAndLeavesThePlayerAtTheTable) {
    using Show = void (*)(int8_t, int8_t, int32_t, int32_t, const PlayerList&);
    using G = GameController;
    auto named = [](auto record, int32_t id, const char* name) {
        record->setIDDB(id);
        record->setName(name);
        return record;
    };
    const std::vector<const char*> card = {"btnSeat1", "btnSeat2", "btnChat", "btnCuoc",
                                           "btnSeat1\nadvance 1\ntap id=btnPlayerPresent1"};
    const std::vector<const char*> chess = {"btnSeat2", "btnChat", "btnCuoc",
                                            "btnSeat2\nadvance 1\ntap id=btnPlayerPresent1", "clickViewPlayer"};
    const std::vector<const char*> coTuong(chess.begin(), chess.end() - 1);
    const std::vector<const char*> stake = {card[0], card[1], card[2], card[4]};
    const std::vector<const char*> caoRua = {"btnSeat1", "btnSeat2", "btnChat", "btnDatCuoc",
                                             "btnSeat1\nadvance 1\ntap id=btnPresentGiftPlayer1"};
    const std::vector<const char*> seated = {"btnSeat1", "btnChat", "btnCuoc",
                                             "btnSeat1\nadvance 1\ntap id=btnPresentGift"};
    struct Row {
        int8_t gameType;
        Show show;
        std::vector<const char*> panels;
        int32_t owner = 7; // me; a guest at Bai Cao and Xi Zach has the bets sheet too
    };
    const std::vector<Row> rows = {{3, &G::showTienLenScreenWithRoom, card},
                                   {12, &G::showTienLenMBScreenWithRoom, card},
                                   {13, &G::showPhomNewScreenWithRoom, card},
                                   {16, &G::showMauBinhScreenWithRoom, card},
                                   {11, &G::showBaiCaoScreenWithRoom, stake},
                                   {2, &G::showXiZachScreenWithRoom, stake},
                                   {11, &G::showBaiCaoScreenWithRoom, {"btnCuoc"}, 8},
                                   {2, &G::showXiZachScreenWithRoom, {"btnCuoc"}, 8},
                                   {17, &G::showCaoRuaScreenWithRoom, caoRua},
                                   {5, nullptr, coTuong},
                                   {20, nullptr, chess},
                                   {1, &G::showCaroScreenWithRoom, seated},
                                   {8, &G::showTetrisScreenWithRoom, seated},
                                   {9, &G::showCoVuaScreenWithRoom, seated},
                                   {4, &G::showPokerScreenWithRoom, seated},
                                   {18, &G::showBauCuaScreenWithRoom, {seated.begin(), seated.end() - 1}}};
    auto& app = platform::ui::Application::shared();
    for (const auto& [gameType, show, panels, owner] : rows) {
        SCOPED_TRACE(std::to_string(gameType) + (owner == 7 ? "" : " as a guest"));
        UIController::setGameType(gameType);
        platform::runOnMainThread([&, gameType = gameType, show = show, owner = owner] {
            auto me = named(std::make_shared<TienLenPlayer>(), 7, "me");
            UIController::setMyInfo(me);
            if (show) return show(2, 5, owner, 1000, {me, named(std::make_shared<TienLenPlayer>(), 8, "an")});
            auto& chess = gameType == 5 ? CoTuongLogicHandler::getInstance() : CoUpLogicHandler::getInstance();
            chess.joinTable(
                false, 2, 5, 7, 1000,
                {named(std::make_shared<ChessPlayer>(), 7, "me"), named(std::make_shared<ChessPlayer>(), 8, "an")});
        });
        runMainThread();
        platform::RunLoop::main().advance(1);
        const auto table = top();
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
        for (const char* panel : panels) {
            SCOPED_TRACE(panel);
            drive(std::string("tap id=") + panel + "\nadvance 1");
            ASSERT_NE(shown(), bare) << "a panel opened";
            app.dispatchKey(platform::ui::Key::Escape);
            platform::RunLoop::main().advance(1);
            EXPECT_EQ(dialogText(), "") << "no leave question";
            ASSERT_EQ(top(), table) << "still at the table";
            EXPECT_EQ(shown(), bare) << "the panel closed";
        }
        app.dispatchKey(platform::ui::Key::Escape);
        runMainThread();
        // The Caro table shows no back button: there Escape with nothing open does nothing.
        EXPECT_TRUE(top() != table ? client.sent().back().commandId == 15
                                   : dialogText() == (gameType == 1 ? "" : text("KAVO_doYouWantExit")))
            << "with nothing open Escape is the back, which leaves or asks first";
        UIController::closeDialog();
        KavoOnlineAppDelegate::getInstance().navigationController()->popToRootViewController(false);
        runMainThread();
    }
}

} // namespace
} // namespace kavo::test
