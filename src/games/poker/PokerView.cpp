#include "games/poker/PokerView.h"

#include "games/poker/PokerMessageHandler.h"

namespace kavo {

PokerView::PokerView() : GameTableView(PokerMessageHandler::kGameType, "PokerView", "KAVO_poker") {}

void PokerView::denyBuyStack() {
    isSitDown_ = false;
}

} // namespace kavo
