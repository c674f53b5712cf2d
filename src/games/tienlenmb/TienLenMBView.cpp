#include "games/tienlenmb/TienLenMBView.h"

#include "games/tienlenmb/CardMBUtils.h"
#include "games/tienlenmb/TienLenMBMessageHandler.h"
#include "games/tienlenmb/TienLenMBService.h"
#include "platform/ui/View.h"
#include "portal/GlobalService.h"

namespace kavo {

TienLenTableRules TienLenMBView::tableRules() {
    TienLenTableRules rules;
    rules.handTopTabletGap = 30;
    rules.dealFlight = 0.06;
    rules.dealStep = 0.01;
    rules.rotateTopWhileDealt = false;
    rules.clearEmptyChairHands = true;
    rules.startEndsFirstMatch = true;
    rules.reorderBelow = 275;
    rules.bubblesOverCards = false;
    rules.resetInterval = 30;
    rules.resetClearsCurrentPlayer = false;
    rules.twentyOnlyForZero = true;
    rules.readySetsMyInfo = true;
    return rules;
}

TienLenMBView::TienLenMBView() : TienLenView(TienLenMBMessageHandler::kGameType, "KAVO_tienLenMB", tableRules()) {}

void TienLenMBView::kickPlayer(const platform::ui::View& control) {
    GlobalService::getInstance().kickWithRoomId(roomId(), boardId(), control.tag());
}

int TienLenMBView::combinationType(const std::vector<int8_t>& ascending) const {
    return CardMBUtils::getType(ascending);
}

bool TienLenMBView::beats(const std::vector<int8_t>& mine, int mineType, const std::vector<int8_t>& table,
                          int tableType) const {
    return CardMBUtils::available(mine.data(), int(mine.size()), mineType, table.data(), int(table.size()), tableType);
}

void TienLenMBView::autoSelectOn(SelectableHand& hand, const std::vector<int8_t>& table) const {
    CardMBUtils::autoSelect(table.empty() ? nullptr : table.data(), int(table.size()), hand);
}

void TienLenMBView::sendMove(const std::vector<uint8_t>& cards) const {
    TienLenMBService::getInstance().moveWithRoomId(roomId(), boardId(), cards);
}

void TienLenMBView::onMyTurnTimedOut() {
    TienLenMBService::getInstance().skipWithRoomId(roomId(), boardId());
}

void TienLenMBView::requestMaxPlayers(int8_t max) {
    TienLenMBService::getInstance().setMaxPlayerWithRoomId(roomId(), boardId(), max);
}

} // namespace kavo
