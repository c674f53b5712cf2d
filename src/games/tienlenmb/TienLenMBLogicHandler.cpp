#include "games/tienlenmb/TienLenMBLogicHandler.h"

#include "app/UIController.h"
#include "games/tienlen/TienLenView.h"
#include "games/tienlenmb/CardMBUtils.h"
#include "games/tienlenmb/TienLenMBService.h"
#include "games/tienlenmb/TienLenMBView.h"
#include "platform/runtime/MainThreadCheck.h"
#include "table/base/TienLenPlayer.h"
#include "table/registry/GameController.h"

namespace kavo {

TienLenMBLogicHandler& TienLenMBLogicHandler::getInstance() {
    static TienLenMBLogicHandler instance;
    return instance;
}

std::shared_ptr<TienLenView> TienLenMBLogicHandler::table() const {
    KAVO_ASSERT_MAIN_THREAD();
    return GameController::getTienLenMBView();
}

void TienLenMBLogicHandler::showScreen(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                       const TienLenPlayerList& players) const {
    GameController::showTienLenMBScreenWithRoom(roomId, boardId, ownerId, money,
                                                PlayerList(players.begin(), players.end()));
}

void TienLenMBLogicHandler::sendForceFinish(int8_t roomId, int8_t boardId) const {
    TienLenMBService::getInstance().forceFinishWithRoomId(roomId, boardId);
}

void TienLenMBLogicHandler::claimInstantWin(TienLenView& view, int8_t roomId, int8_t boardId,
                                            const std::vector<int8_t>& sortedCards, int32_t whoMoveFirst) const {
    // The two tests are independent: a hand passing both claims twice.
    if (CardMBUtils::checkForceFinish(sortedCards.data(), int(sortedCards.size()), view.isFirstMatch()))
        sendForceFinish(roomId, boardId);
    auto me = UIController::myInfo();
    const bool iMoveFirst = me && me->IDDB() == whoMoveFirst;
    if (CardMBUtils::checkForceFinishWith3DoiThongCo3Bich(sortedCards) && (view.isFirstMatch() || iMoveFirst))
        sendForceFinish(roomId, boardId);
}

void TienLenMBLogicHandler::applyStart(TienLenView& view, int8_t roomId, int8_t boardId,
                                       const std::vector<uint8_t>& cards, int interval, int32_t whoMoveFirst) const {
    // Nobody is ready once a match runs, whatever the ready commands said before.
    for (const auto& player : view.players())
        player->setIsReady(0);
    TienLenLogicHandler::applyStart(view, roomId, boardId, cards, interval, whoMoveFirst);
}

void TienLenMBLogicHandler::applyStop(TienLenView& view, int32_t whoShowCard, const std::vector<uint8_t>& cards) const {
    view.setDisableReady(false);
    view.stopGame();
    if (whoShowCard != -1) view.showCardsWithWho(whoShowCard, cards);
}

void TienLenMBLogicHandler::applyForceFinish(TienLenView& view, const CardInfo& info) const {
    view.stopGame();
    TienLenLogicHandler::applyForceFinish(view, info);
}

} // namespace kavo
