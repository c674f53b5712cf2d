#include "games/baicao/BaiCaoLogicHandler.h"

#include "games/baicao/BaiCaoMessageHandler.h"
#include "games/baicao/BaiCaoView.h"
#include "platform/runtime/MainThreadCheck.h"
#include "platform/runtime/RunLoop.h"
#include "table/registry/GameController.h"

namespace kavo {

BaiCaoLogicHandler& BaiCaoLogicHandler::getInstance() {
    static BaiCaoLogicHandler instance;
    return instance;
}

BaiCaoLogicHandler::BaiCaoLogicHandler() : StakeTableLogic(BaiCaoMessageHandler::kGameType) {}

std::shared_ptr<StakeTableView> BaiCaoLogicHandler::table() const {
    KAVO_ASSERT_MAIN_THREAD();
    return GameController::getBaiCaoView();
}

std::shared_ptr<BaiCaoView> BaiCaoLogicHandler::view(int8_t roomId, int8_t boardId) {
    KAVO_ASSERT_MAIN_THREAD();
    auto view = GameController::getBaiCaoView();
    return view && view->isTable(roomId, boardId) ? view : nullptr;
}

void BaiCaoLogicHandler::showTable(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                   const std::vector<std::shared_ptr<Player>>& players) {
    GameController::showBaiCaoScreenWithRoom(roomId, boardId, ownerId, money, players);
}

void BaiCaoLogicHandler::showScoreText(StakeTableView& view, int32_t who, const std::string& des) {
    view.onChatFromWithId(who, "", des);
}

void BaiCaoLogicHandler::onStartGameWithRoomId(int8_t roomId, int8_t boardId, std::vector<uint8_t> cards,
                                               uint8_t interval) {
    platform::runOnMainThread([roomId, boardId, cards, interval] {
        auto table = view(roomId, boardId);
        if (!table) return;
        for (const auto& player : table->players())
            player->setIsReady(0);
        table->startWithInterval(interval, cards);
    });
}

void BaiCaoLogicHandler::onMoveWithRoomId(int8_t roomId, int8_t boardId, int32_t whoMove, std::vector<uint8_t> cards) {
    platform::runOnMainThread([roomId, boardId, whoMove, cards] {
        auto table = GameController::getBaiCaoView();
        if (!table) return;
        // A turn at any table of the room means a hand runs: ready waits for its end.
        table->setDisableReady(true);
        if (table->isTable(roomId, boardId)) table->moveWithPlayerId(whoMove, cards);
    });
}

void BaiCaoLogicHandler::onStopGameWithRoomId(int8_t, int8_t, std::vector<BaiCaoHand> hands) {
    platform::runOnMainThread([hands] {
        auto table = GameController::getBaiCaoView();
        if (!table) return;
        table->setDisableReady(false);
        table->stopGame();
        table->showCardsWithPlayers(hands);
    });
}

void BaiCaoLogicHandler::onPlayingWithRoomId(int8_t roomId, int8_t boardId, uint8_t interval,
                                             std::vector<BaiCaoHand> hands) {
    platform::runOnMainThread([roomId, boardId, interval, count = int(hands.size())] {
        if (auto table = view(roomId, boardId)) table->playingWithInterval(interval, count);
    });
}

} // namespace kavo
