#include "app/UIController.h"
#include "app/widgets/CustomUIScrollView.h"
#include "games/baicao/BaiCaoView.h"
#include "games/baucua/BauCuaView.h"
#include "games/caorua/CaoRuaView.h"
#include "games/caro/CaroBoard.h"
#include "games/caro/CaroView.h"
#include "games/cotuong/CoTuongView.h"
#include "games/coup/CoUpView.h"
#include "games/covua/CoVuaView.h"
#include "games/maubinh/MauBinhView.h"
#include "games/phom/PhomNewView.h"
#include "games/poker/PokerView.h"
#include "games/tetris/TetrisView.h"
#include "games/tienlen/TienLenView.h"
#include "games/tienlenmb/TienLenMBView.h"
#include "games/xizach/XiZachView.h"
#include "social/ChatView.h"
#include "table/registry/GameController.h"
#include "table/sheets/InviteView.h"
#include "table/sheets/boardChat.h"
#include "table/sheets/menuCuoc.h"
#include "table/sheets/menuPassword.h"
#include "tests/table/TableTestSupport.h"

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

} // namespace
} // namespace kavo::test
