#include "app/UIController.h"
#include "games/cotuong/CoTuongView.h"
#include "games/poker/PokerView.h"
#include "games/tienlen/TienLenView.h"
#include "lobby/BoardView.h"
#include "portal/GlobalLogicHandler.h"
#include "portal/GlobalMessageHandler.h"
#include "table/registry/GameController.h"
#include "table/registry/GameMessageHandler.h"
#include "table/registry/GameRecords.h"
#include "tests/table/TableTestSupport.h"

#include <set>

namespace kavo::test {
namespace {

using Registry = TableTest;

// The fourteen game handlers as GameController registers them at start-up (the launch
// of the fixture ran startGame).
std::vector<std::shared_ptr<GameMessageHandler>> registeredGames() {
    std::vector<std::shared_ptr<GameMessageHandler>> games;
    for (const auto& handler : GlobalLogicHandler::getGameMessageHandlers()) {
        if (auto game = std::dynamic_pointer_cast<GameMessageHandler>(handler)) games.push_back(game);
    }
    return games;
}

TEST_F(Registry, StartUpRegistersTheFourteenGamesInTheirOrder) {
    GameController::startGame(); // a second start adds nothing
    std::vector<int> types;
    for (const auto& game : registeredGames())
        types.push_back(game->gameType());
    EXPECT_EQ(types, (std::vector<int>{3, 13, 5, 9, 20, 11, 2, 1, 12, 8, 4, 18, 16, 17}));
}

TEST_F(Registry, EachHandlerAcceptsItsOwnGameTypeOnly) {
    for (const auto& game : registeredGames()) {
        for (int type = -128; type <= 127; ++type)
            EXPECT_EQ(game->isGameType(int8_t(type)), type == game->gameType())
                << "handler of " << int(game->gameType());
    }
    EXPECT_EQ(GameController::gameInfo(6), nullptr);
}

TEST_F(Registry, ChoosingAGameGivesTheBoardListItsSeatClassAndTheGameItsTitle) {
    const std::map<int, int> seatClass = {{1, 0},  {2, 1},  {3, 1},  {4, 3},  {5, 0},  {8, 0},  {9, 0},
                                          {11, 1}, {12, 1}, {13, 1}, {16, 1}, {17, 2}, {18, 2}, {20, 0}};
    for (const auto& [type, expected] : seatClass) {
        BoardView::setType(-1);
        GlobalLogicHandler::getInstance().onSetGameTypeSuccessWithGame(int8_t(type), true);
        EXPECT_EQ(BoardView::type(), expected) << "game " << type;
        EXPECT_EQ(UIController::gameType(), type);
        EXPECT_EQ(UIController::gameTitle(), text(gameRecord(type)->titleKey.data()));
        auto current = GlobalMessageHandler::getInstance().gameMessageHandler();
        ASSERT_TRUE(current);
        EXPECT_TRUE(current->isGameType(int8_t(type)));
    }
    EXPECT_EQ(UIController::gameTitle(), "Hidden chess");
}

TEST_F(Registry, AReplyTheGameDoesNotReadYetIsDropped) {
    Message reply(49, {1, 2, 3});
    for (const auto& game : registeredGames())
        game->onMessage(reply);
    EXPECT_TRUE(client.sent().empty());
}

TEST_F(Registry, EveryRoomCommandATableListsReachesItsLogic) {
    for (const auto& game : registeredGames())
        EXPECT_EQ(game->listedButNotTaken(), std::vector<int16_t>{}) << "handler of " << int(game->gameType());
}

TEST_F(Registry, ChoosingAGameSendsItsTypeAsOneByte) {
    GameController::doPlayWithGameId(13);
    EXPECT_TRUE(client.sentOnce(61, {13}));
}

TEST_F(Registry, NoTableIsKeptBeforeTheFirstJoin) {
    EXPECT_EQ(GameController::getTienLenView(), nullptr);
    EXPECT_EQ(GameController::getCaoRuaView(), nullptr);
    EXPECT_EQ(GameController::getTableView(6), nullptr);
    EXPECT_EQ(GameController::getLevelRoom(), 0);
}

TEST_F(Registry, JoiningASecondTienLenBoardShowsANewTableWithItsIdsAndStake) {
    GameController::showTienLenScreenWithRoom(1, 2, 77, 500, {});
    runMainThread();
    auto first = GameController::getTienLenView();
    ASSERT_TRUE(first);
    EXPECT_EQ(top(), first);
    first->progressLeaveBoard();
    runMainThread();

    BoardView::setnumOfTouchUp(2);
    auto player = std::make_shared<Player>();
    player->setIDDB(77);
    GameController::showTienLenScreenWithRoom(3, 4, 77, 1000, {player});
    runMainThread();
    auto second = GameController::getTienLenView();
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_EQ(top(), second);
    EXPECT_EQ(second->roomId(), 3);
    EXPECT_EQ(second->boardId(), 4);
    EXPECT_EQ(second->money(), 1000);
    EXPECT_EQ(second->ownerId(), 77);
    EXPECT_EQ(second->players().size(), 1u);
    EXPECT_EQ(BoardView::numOfTouchUp(), 0);
    drive("expect text=Tien Len");
}

TEST_F(Registry, ChineseChessJoinWithItsTableOnTopChangesNothing) {
    GameController::showCoTuongScreenWithRoom(1, 1, 5, 100, {});
    runMainThread();
    auto table = GameController::getCoTuongView();
    ASSERT_TRUE(table);
    BoardView::setnumOfTouchUp(2);
    GameController::showCoTuongScreenWithRoom(2, 2, 6, 200, {});
    runMainThread();
    EXPECT_EQ(GameController::getCoTuongView(), table);
    EXPECT_EQ(table->roomID(), 1);
    EXPECT_EQ(BoardView::numOfTouchUp(), 2);
}

TEST_F(Registry, PokerJoinWithItsTableOnTopOnlyReseatsThePlayers) {
    GameController::showPokerScreenWithRoom(1, 1, 5, 100, {});
    runMainThread();
    auto table = GameController::getPokerView();
    ASSERT_TRUE(table);
    BoardView::setnumOfTouchUp(2);
    GameController::showPokerScreenWithRoom(1, 1, 5, 100, {std::make_shared<Player>(), std::make_shared<Player>()});
    runMainThread();
    EXPECT_EQ(GameController::getPokerView(), table);
    EXPECT_EQ(table->players().size(), 2u);
    EXPECT_EQ(BoardView::numOfTouchUp(), 2);
}

} // namespace
} // namespace kavo::test
