#include "games/poker/PokerView.h"

#include "games/poker/PokerMessageHandler.h"
#include "games/poker/PokerService.h"
#include "table/sheets/PokerBuyStackView.h"

#include <algorithm>
#include <limits>

namespace kavo {

PokerView::PokerView()
    : SeatedTableView(PokerMessageHandler::kGameType, "PokerView", "KAVO_poker", 6),
      buyStackView_(std::make_shared<PokerBuyStackView>()) {}

void PokerView::denyBuyStack() {
    isSitDown_ = false;
}

bool PokerView::leaveAfterQuestion() {
    progressLeaveBoard();
    return false;
}

void PokerView::answerViewerQuestion(int8_t choice) {
    PokerService::getInstance().doSendObserver(roomId(), boardId(), choice);
}

void PokerView::buyStack(int32_t amount) {
    PokerService::getInstance().doBuyStack(roomId(), boardId(), amount);
}

void PokerView::sendStake(int32_t amount) {
    PokerService::getInstance().setBetMoney(roomId(), boardId(), amount);
}

void PokerView::onShowViewerWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                     const std::vector<std::shared_ptr<Player>>& players) {
    isSitDown_ = false;
    setupPlayersWithRoom(roomId, boardId, ownerId, money, players);
}

void PokerView::sendBetRaise(int32_t /*amount*/) {}

int32_t PokerView::maxStackFor(int32_t minStack) {
    const int64_t tenTimes = int64_t(minStack) * 10;
    return int32_t(
        std::clamp<int64_t>(tenTimes, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

void PokerView::showBuyStack(int32_t minStack) {
    buyStackView_->setMinStack(minStack);
    buyStackView_->setMaxStack(maxStackFor(minStack));
    openSheet(buyStackView_);
}

} // namespace kavo
