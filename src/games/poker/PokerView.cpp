#include "games/poker/PokerView.h"

#include "games/poker/PokerMessageHandler.h"
#include "table/PokerBuyStackView.h"

namespace kavo {

PokerView::PokerView()
    : GameTableView(PokerMessageHandler::kGameType, "PokerView", "KAVO_poker"),
      buyStackView_(std::make_shared<PokerBuyStackView>()) {}

void PokerView::denyBuyStack() {
    isSitDown_ = false;
}

void PokerView::onShowViewerWithRoom(int8_t roomId, int8_t boardId, int32_t ownerId, int32_t money,
                                     const std::vector<std::shared_ptr<Player>>& players) {
    isSitDown_ = false;
    setupPlayersWithRoom(roomId, boardId, ownerId, money, players);
}

void PokerView::sendBetRaise(int32_t amount) {
    betRaises_.push_back(amount);
}

void PokerView::showBuyStack(int32_t minStack) {
    buyStackView_->setMinStack(minStack);
    buyStackView_->setMaxStack(minStack * 10);
    openSheet(buyStackView_);
}

} // namespace kavo
