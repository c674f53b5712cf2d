#include "app/KavoOnlineAppDelegate.h"
#include "app/TopScreen.h"
#include "app/UIController.h"
#include "lobby/BoardView.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/runtime/RunLoop.h"
#include "portal/GlobalLogicHandler.h"
#include "portal/GlobalMessageHandler.h"
#include "portal/GlobalService.h"

// Main-thread twins of the lobby replies.

namespace kavo {

namespace {

// The board list when it is the top screen.
std::shared_ptr<BoardView> boardViewOnTop() {
    return topScreenAs<BoardView>();
}

} // namespace

// The lobby goes from the game grid straight to the board list: no screen shows rooms.
void GlobalLogicHandler::showListRoom(const std::vector<std::shared_ptr<RoomInfo>>& /*rooms*/) {}

// The rooms' board lists (reply 7) are not shown: the board list takes reply 2700.
void GlobalLogicHandler::showListBoard(int8_t /*roomId*/, const std::vector<std::shared_ptr<Board>>& /*boards*/) {}

void GlobalLogicHandler::loadBoardList() {
    KAVO_ASSERT_MAIN_THREAD();
    auto boards = boardViewOnTop();
    if (!boards) return;
    boards->setMaxBetValue(maxBetValue());
    boards->setBoardList(boardList());
    boards->reloadBoardList();
}

void GlobalMessageHandler::pushRoomScreen(int8_t gameType) {
    UIController::setGameType(gameType);
    if (boardViewOnTop()) {
        // The board list switched games itself: only its rows change.
        GlobalService::getInstance().requestPickRoomBoardListWithMoney(-1, 40);
        return;
    }
    auto navigation = KavoOnlineAppDelegate::getInstance().navigationController();
    if (!navigation) {
        platform::log("pushRoomScreen: no navigation controller");
        return;
    }
    navigation->pushViewController(std::make_shared<BoardView>(), true);
}

} // namespace kavo
