// The chess, Caro, Tetris, poker and Bau Cua tables as a player meets them: shown by
// GameController's show operation on the main thread, then tapped with the driver.
#include "app/KavoOnlineAppDelegate.h"
#include "app/UIController.h"
#include "games/baucua/BauCuaView.h"
#include "games/caro/CaroView.h"
#include "games/covua/CoVuaView.h"
#include "games/poker/PokerView.h"
#include "games/tetris/TetrisView.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalLogicHandler.h"
#include "social/PlayerDetailView.h"
#include "table/registry/GameController.h"
#include "table/sheets/PokerBuyStackView.h"
#include "table/sheets/menuCuoc.h"
#include "table/sheets/menuGift.h"
#include "table/sheets/menuMoiBan.h"
#include "table/sheets/menuPassword.h"
#include "table/sheets/menuPlayer.h"
#include "tests/table/TableTestSupport.h"

#include <climits>
#include <functional>

namespace kavo::test {
namespace {

using ShowOperation = void (*)(int8_t, int8_t, int32_t, int32_t, const PlayerList&);

std::shared_ptr<Player> player(int32_t id, const std::string& name, int64_t money) {
    return playerRecord<Player>(id, name, money);
}

class SeatedTables : public TableTest {
protected:
    void SetUp() override {
        TableTest::SetUp();
        me = player(7, "me", 250000);
        UIController::setMyInfo(me);
    }
    // The join reply's show operation, run on the main thread as the logic handler runs
    // it, for a board at room 2, board 5 owned by me.
    std::shared_ptr<SeatedTableView> show(int8_t gameType, ShowOperation operation, const PlayerList& players) {
        UIController::setGameType(gameType);
        platform::runOnMainThread([operation, players] { operation(2, 5, 7, 1000, players); });
        runMainThread();
        auto table = std::dynamic_pointer_cast<SeatedTableView>(top());
        EXPECT_TRUE(table);
        EXPECT_EQ(GameController::getTableView(gameType), table);
        return table;
    }
    std::shared_ptr<Player> me;
    std::shared_ptr<Player> an = player(8, "an", 120000);
    std::shared_ptr<Player> binh = player(9, "binh", 5400);
};

TEST_F(SeatedTables, PokerSeatsSixAndLetsMeWatch) {
    auto table = show(4, &GameController::showPokerScreenWithRoom, {an, binh, player(-1, "", 0)});
    auto poker = std::dynamic_pointer_cast<PokerView>(table);
    ASSERT_TRUE(poker);
    EXPECT_FALSE(poker->isSitDown());
    EXPECT_EQ(poker->seatCount(), 6);
    drive("expect text=an\nexpect text=120,000\nexpect text=binh\nexpect text=5,400\nexpect id=btnSeat5\n"
          "expect id=btnCuoc\nexpect id=btnChat");
    EXPECT_EQ(poker->seatName(2)->text(), "");

    // A typed bet goes through sendBetRaise, which has no slider to send with.
    menuCuoc::doSaveSetMoney("500");
    poker->sendBetRaise(500);
    runMainThread();
    EXPECT_TRUE(client.sent().empty());
}

TEST_F(SeatedTables, PokerBuyInOffersTenTimesTheSmallestAmountHeldToTheIntRange) {
    auto poker = std::dynamic_pointer_cast<PokerView>(show(4, &GameController::showPokerScreenWithRoom, {an}));
    ASSERT_TRUE(poker);
    poker->showBuyStack(1000);
    runMainThread();
    auto& sheet = *poker->buyStackView();
    EXPECT_EQ(sheet.sliderStack()->minimumValue(), 1000);
    EXPECT_EQ(sheet.sliderStack()->maximumValue(), 10000);
    drive("expect text=1,000\ntap id=btnOK");
    EXPECT_TRUE(client.sentOnce(82, {2, 5, 0x00, 0x00, 0x03, 0xe8}));

    poker->showBuyStack(300000000);
    runMainThread();
    EXPECT_EQ(sheet.maxStack(), INT_MAX);
    client.clear();
    drive("tap id=clickMax");
    EXPECT_TRUE(client.sentOnce(82, {2, 5, 0x7f, 0xff, 0xff, 0xff}));
    EXPECT_EQ(PokerView::maxStackFor(-300000000), INT_MIN);

    // Declining ends the sit-down and sends nothing.
    poker->setIsSitDown(true);
    poker->showBuyStack(1000);
    runMainThread();
    client.clear();
    drive("tap id=denyBuyStack");
    EXPECT_FALSE(poker->isSitDown());
    EXPECT_TRUE(client.sent().empty());
}

TEST_F(SeatedTables, ACaroSeatOpensThePlayerMenuForThatPlayer) {
    auto caro = std::dynamic_pointer_cast<CaroView>(show(1, &GameController::showCaroScreenWithRoom, {me, an}));
    ASSERT_TRUE(caro);
    EXPECT_EQ(caro->roomID(), 2);
    EXPECT_EQ(caro->money(), 1000);
    drive("expect text=me\nexpect text=an\ntap id=btnSeat1");
    EXPECT_EQ(caro->CurrentControlPlayer(), an);
    // I own the board and no match runs: all five actions.
    drive("expect id=btnKick\nexpect id=btnViewInfo\nexpect id=btnAddFriend\nexpect id=btnPresentGift\n"
          "expect id=btnBuzz\ntap id=btnKick");
    EXPECT_TRUE(client.sentOnce(11, {2, 5, 0, 0, 0, 8}));
}

TEST_F(SeatedTables, CaroSpeedAndPasswordButtonsOpenTheirSheets) {
    auto caro = std::dynamic_pointer_cast<CaroView>(show(1, &GameController::showCaroScreenWithRoom, {me, an}));
    ASSERT_TRUE(caro);
    caro->setCustomInterval(2);
    drive("tap id=btnSpeed\nadvance 1\nexpect id=imgSlower\nexpect-not id=imgNormal\nexpect-not id=imgFaster\n"
          "tap id=btnFaster\nadvance 1");
    EXPECT_EQ(caro->customInterval(), 0);
    drive("tap id=btnPass\nadvance 1");
    EXPECT_EQ(caro->passwordView()->txtPassword()->placeholder(), text("KAVO_nhap_pass"));
    drive("type id=txtPassword abc\ntap id=btnOK");
    EXPECT_TRUE(client.sentOnce(18, {2, 5, 0, 3, 'a', 'b', 'c'}));
}

TEST_F(SeatedTables, DrawOfferAndResignationAtTheShownCaroAndChessTables) {
    struct Case {
        int8_t gameType;
        ShowOperation show;
    };
    const Case cases[] = {{1, &GameController::showCaroScreenWithRoom}, {9, &GameController::showCoVuaScreenWithRoom}};
    for (const auto& c : cases) {
        show(c.gameType, c.show, {me, an});
        client.clear();
        UIController::startCancelOkDlg(text("KAVO_oppWantDraw"), text("KAVO_no"), text("KAVO_yes"),
                                       {UIController::kActionDrawOffer});
        press(text("KAVO_yes"));
        EXPECT_TRUE(client.sentOnce(24, {2, 5, 1})) << "game " << int(c.gameType);
        UIController::startCancelOkDlg(text("KAVO_confirm_lose"), text("KAVO_no"), text("KAVO_yes"),
                                       {UIController::kActionResign});
        press(text("KAVO_yes"));
        EXPECT_TRUE(client.sentOnce(27, {2, 5})) << "game " << int(c.gameType);
    }
}

TEST_F(SeatedTables, ATetrisSeatOpensItsPlayerMenuAndAnEmptySeatNothing) {
    auto tetris = show(8, &GameController::showTetrisScreenWithRoom, {an});
    // Seat 1 empty: a place the join did not list, then one listed with id -1.
    for (bool listed : {false, true}) {
        if (listed) tetris->setupPlayersWithRoom(2, 5, 7, 1000, {an, player(-1, "", 0)});
        drive("tap id=btnSeat1");
        EXPECT_FALSE(tetris->CurrentControlPlayer()) << listed;
        EXPECT_FALSE(tetris->playerMenu()) << "no menu was opened";
    }
    drive("tap id=btnSeat0\nexpect id=btnViewInfo\nexpect id=btnBuzz");
    EXPECT_EQ(tetris->CurrentControlPlayer(), an);
}

TEST_F(SeatedTables, BauCuaGivesToEverySeatsPlayerTheGiverIncluded) {
    auto table = show(18, &GameController::showBauCuaScreenWithRoom, {me, an, binh});
    auto bauCua = std::dynamic_pointer_cast<BauCuaView>(table);
    ASSERT_TRUE(bauCua);
    ASSERT_EQ(bauCua->playerList().size(), 3u);
    drive("tap id=btnSeat2");
    ASSERT_TRUE(bauCua->CurrentControlPlayer());
    EXPECT_EQ(bauCua->CurrentControlPlayer()->corePlayer, binh);
    EXPECT_EQ(bauCua->giftView()->selectedUserId(), 9);
    client.clear();
    bauCua->giftView()->setSelectedGiftId(501);
    drive("tap id=btnTangTatCa");
    EXPECT_EQ(client.sent(), (std::vector<RecordedMessage>{{101, {7, 2, 5, 0, 0, 1, 0xf5, 0, 0, 0, 7}},
                                                           {101, {7, 2, 5, 0, 0, 1, 0xf5, 0, 0, 0, 8}},
                                                           {101, {7, 2, 5, 0, 0, 1, 0xf5, 0, 0, 0, 9}}}));
}

TEST_F(SeatedTables, ABauCuaSeatWithoutItsPlayerOpensNothing) {
    auto bauCua = std::dynamic_pointer_cast<BauCuaView>(show(18, &GameController::showBauCuaScreenWithRoom, {an}));
    ASSERT_TRUE(bauCua);
    bauCua->setPlayerList({std::make_shared<BauCuaSeat>()});
    bauCua->setCurrentControlSeat(bauCua->playerList()[0]);
    client.clear();
    bauCua->showGiftView();
    drive("tap id=btnSeat0");
    EXPECT_TRUE(client.sent().empty());
    EXPECT_FALSE(bauCua->giftView()->isViewLoaded() && bauCua->giftView()->view()->superview());
}

TEST_F(SeatedTables, PlayerDetailsSlideInAtCaroAndTetrisAndNowhereAtBauCua) {
    const platform::Value detail(platform::Value::Array{"an", int64_t(1234567), 3, 150, 12, 5, 2, 1});
    const std::pair<int8_t, ShowOperation> withSheet[] = {{1, &GameController::showCaroScreenWithRoom},
                                                          {8, &GameController::showTetrisScreenWithRoom}};
    for (const auto& [gameType, operation] : withSheet) {
        auto table = show(gameType, operation, {me, an});
        GlobalLogicHandler::getInstance().onPlayerDetail(detail);
        runMainThread();
        drive("advance 1\nexpect id=lblLevel\nexpect text=1,234,567 Zel\nexpect text=2 + 25%\nexpect text=12");
        EXPECT_EQ(table->playerDetailView()->lblName()->text(), "an");
        EXPECT_TRUE(table->playerDetailView()->view()->isDescendantOf(table->view().get()));
        // A short record is dropped: the sheet keeps what it showed.
        table->onRequestDetail(platform::Value(platform::Value::Array{"binh"}));
        runMainThread();
        EXPECT_EQ(table->playerDetailView()->lblName()->text(), "an");
    }
    auto bauCua = show(18, &GameController::showBauCuaScreenWithRoom, {me, an});
    ASSERT_TRUE(bauCua->playerDetailView());
    GlobalLogicHandler::getInstance().onPlayerDetail(detail);
    runMainThread();
    drive("advance 1\nexpect-not id=lblLevel\nexpect-not text=1,234,567 Zel");
    EXPECT_FALSE(bauCua->playerDetailView()->isViewLoaded());
}

TEST_F(SeatedTables, LeavingEachTableSendsTheLeaveAndPops) {
    const std::pair<int8_t, ShowOperation> tables[] = {
        {4, &GameController::showPokerScreenWithRoom},   {9, &GameController::showCoVuaScreenWithRoom},
        {1, &GameController::showCaroScreenWithRoom},    {8, &GameController::showTetrisScreenWithRoom},
        {18, &GameController::showBauCuaScreenWithRoom},
    };
    for (const auto& [gameType, operation] : tables) {
        auto table = show(gameType, operation, {me, an});
        client.clear();
        // The top bar shows no back button over Caro: its table has a leave button.
        if (gameType == 1)
            drive("tap id=btnLeave");
        else
            KavoOnlineAppDelegate::getInstance().doBack();
        runMainThread();
        EXPECT_TRUE(client.sentOnce(15, {2, 5})) << "game " << int(gameType);
        EXPECT_NE(top(), table) << "game " << int(gameType);
    }
}

} // namespace
} // namespace kavo::test
