#include "games/xizach/XiZachLogicHandler.h"

#include "games/xizach/XiZachMessageHandler.h"
#include "games/xizach/XiZachView.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/runtime/RunLoop.h"
#include "table/registry/GameController.h"

namespace kavo {

XiZachLogicHandler& XiZachLogicHandler::getInstance() {
    static XiZachLogicHandler instance;
    return instance;
}

XiZachLogicHandler::XiZachLogicHandler() : StakeTableLogic(XiZachMessageHandler::kGameType) {}

std::shared_ptr<StakeTableView> XiZachLogicHandler::table() const {
    KAVO_ASSERT_MAIN_THREAD();
    return GameController::getXiZachView();
}

std::shared_ptr<XiZachView> XiZachLogicHandler::view(int8_t roomId, int8_t boardId) {
    KAVO_ASSERT_MAIN_THREAD();
    auto view = GameController::getXiZachView();
    return view && view->isTable(roomId, boardId) ? view : nullptr;
}

void XiZachLogicHandler::showTable(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                   const std::vector<std::shared_ptr<Player>>& players) {
    GameController::showXiZachScreenWithRoom(roomId, boardId, ownerId, money, players);
}

void XiZachLogicHandler::showScoreText(StakeTableView& table, int32_t who, const std::string& des) {
    if (auto* xiZach = dynamic_cast<XiZachView*>(&table)) xiZach->ShowDiemSoWithWho(who, des);
}

void XiZachLogicHandler::onStartGameWithRoomId(int8_t roomId, int8_t boardId, int32_t whoMove,
                                               std::vector<uint8_t> cards, int8_t interval) {
    platform::runOnMainThread([roomId, boardId, whoMove, cards, interval] {
        auto table = view(roomId, boardId);
        if (!table) return;
        for (const auto& player : table->players())
            player->setIsReady(0);
        table->startWithInterval(interval, whoMove, cards);
    });
}

void XiZachLogicHandler::onMoveWithRoomId(int8_t roomId, int8_t boardId, int32_t whoMove, std::vector<uint8_t> cards) {
    platform::runOnMainThread([roomId, boardId, whoMove, cards] {
        auto table = GameController::getXiZachView();
        if (!table) return;
        // Cards shown at any table of the room mean a game runs: ready waits for its end.
        table->setDisableReady(true);
        if (table->isTable(roomId, boardId)) table->moveWithPlayerId(whoMove, cards);
    });
}

void XiZachLogicHandler::onGetCardWithRoomId(int8_t roomId, int8_t boardId, int32_t whoMove, uint8_t card) {
    platform::runOnMainThread([roomId, boardId, whoMove, card] {
        if (auto table = view(roomId, boardId)) table->getCardWithPlayerId(whoMove, card);
    });
}

void XiZachLogicHandler::onGetRemainTimeWithRoomId(int8_t roomId, int8_t boardId, int32_t whoMove, uint8_t remainTime) {
    platform::runOnMainThread([roomId, boardId, whoMove, remainTime] {
        if (auto table = view(roomId, boardId)) table->getRemainTimeWithPlayerId(whoMove, remainTime);
    });
}

void XiZachLogicHandler::onStopGameWithRoomId(int8_t, int8_t, std::vector<XiZachHand> hands) {
    platform::runOnMainThread([hands] {
        auto table = GameController::getXiZachView();
        if (!table) return;
        table->setDisableReady(false);
        table->showCardsWithPlayers(hands);
        table->stopGame();
    });
}

void XiZachLogicHandler::onPlayingWithRoomId(int8_t roomId, int8_t boardId, int8_t interval,
                                             std::vector<XiZachHand> hands) {
    platform::runOnMainThread([roomId, boardId, interval, count = int(hands.size())] {
        if (auto table = view(roomId, boardId)) table->playingWithInterval(interval, count);
    });
}

} // namespace kavo
