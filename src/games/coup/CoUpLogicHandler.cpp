#include "games/coup/CoUpLogicHandler.h"

#include "games/coup/CoUpView.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/runtime/RunLoop.h"
#include "table/base/ChessPlayer.h"
#include "table/registry/GameController.h"

namespace kavo {

CoUpLogicHandler& CoUpLogicHandler::getInstance() {
    static CoUpLogicHandler instance;
    return instance;
}

std::shared_ptr<CoTuongView> CoUpLogicHandler::table() const {
    KAVO_ASSERT_MAIN_THREAD();
    return GameController::getCoUpView();
}

bool CoUpLogicHandler::isTable(const platform::ui::ViewControllerPtr& controller) const {
    return std::dynamic_pointer_cast<CoUpView>(controller) != nullptr;
}

void CoUpLogicHandler::showTable(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                 const ChessPlayerList& players) const {
    GameController::showCoUpScreenWithRoom(roomId, boardId, ownerId, money, PlayerList(players.begin(), players.end()));
}

void CoUpLogicHandler::onGetEatPiece(std::vector<EatPiece> list) {
    platform::runOnMainThread([list = std::move(list)] {
        if (auto view = GameController::getCoUpView()) view->getListEatPiece(list);
    });
}

} // namespace kavo
