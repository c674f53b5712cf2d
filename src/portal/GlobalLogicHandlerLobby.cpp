#include "portal/GlobalLogicHandler.h"
#include "portal/GlobalMessageHandler.h"

#include "app/Resources.h"
#include "app/UIController.h"
#include "platform/runtime/Log.h"
#include "platform/runtime/RunLoop.h"

// Main-thread twins of the lobby replies.

namespace kavo {

void GlobalLogicHandler::showListRoom(const std::vector<std::shared_ptr<RoomInfo>>& /*rooms*/) {}

void GlobalLogicHandler::showListBoard(int8_t /*roomId*/, const std::vector<std::shared_ptr<Board>>& /*boards*/) {}

void GlobalLogicHandler::loadBoardList() {}

void GlobalMessageHandler::pushRoomScreen(int8_t gameType) {
    UIController::setGameType(gameType);
    // With the screens: a board list on top asks for fresh rows
    // (requestPickRoomBoardListWithMoney(-1, 40)); otherwise the board list is pushed.
}

} // namespace kavo
