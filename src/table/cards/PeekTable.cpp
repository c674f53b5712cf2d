#include "table/cards/PeekTable.h"

#include "table/cards/BCCardView.h"

namespace kavo {

void PeekTable::showLoadingNanBai() {
    note("showLoadingNanBai");
}

void PeekTable::doFireWithCardId(int8_t cardId) {
    note("doFireWithCardId " + std::to_string(cardId));
}

void PeekTable::showAllCards() {
    note("showAllCards");
}

void PeekTable::backPointbaiNan(const std::shared_ptr<BCCardView>& card) {
    note("backPointbaiNan " + std::to_string(card ? card->cardID() : -1));
}

void PeekTable::setHiddenBtnNan() {
    note("setHiddenBtnNan");
}

void PeekTable::showMyCardWithCard(const std::shared_ptr<BCCardView>& card) {
    note("showMyCardWithCard " + std::to_string(card ? card->cardID() : -1));
}

void PeekTable::xetBaiWithPlayer(int32_t playerId) {
    note("xetBaiWithPlayer " + std::to_string(playerId));
}

void PeekTable::cardDoubleTapped() {
    showAllCards();
    setHiddenBtnNan();
}

void PeekTable::cardPeekedAway(const std::shared_ptr<BCCardView>& card) {
    if (!card || !card->isTouch() || !card->backCard()) return;
    showLoadingNanBai();
    doFireWithCardId(card->backCard()->cardID());
}

void PeekTable::cardTapped(const std::shared_ptr<BCCardView>& card) {
    if (card && card->isTouch()) doFireWithCardId(card->cardID());
}

} // namespace kavo
