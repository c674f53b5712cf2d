#include "table/base/TienLenPlayer.h"

#include <algorithm>

namespace kavo {

void TienLenPlayer::resetCard() {
    if (!cards_) cards_ = std::make_shared<Hand>();
    cards_->clear();
}

std::vector<uint8_t> TienLenPlayer::getSelectedCardsValue() const {
    std::vector<uint8_t> ids;
    if (!cards_) return ids;
    for (const auto& card : *cards_) {
        if (card && card->isSelected()) ids.push_back(static_cast<uint8_t>(card->cardID()));
    }
    return ids;
}

void TienLenPlayer::removeCards(const uint8_t* bytes, int length) {
    if (!cards_ || !bytes || length <= 0) return;
    const std::vector<uint8_t> gone(bytes, bytes + length);
    for (size_t i = cards_->size(); i-- > 0;) {
        const auto& card = (*cards_)[i];
        if (card && std::find(gone.begin(), gone.end(), static_cast<uint8_t>(card->cardID())) != gone.end())
            cards_->erase(cards_->begin() + long(i));
    }
}

void TienLenPlayer::unSelectAllCards() {
    if (!cards_) return;
    // A copy: a table re-checking the selection may rebuild the hand meanwhile.
    const Hand hand = *cards_;
    for (size_t i = hand.size(); i-- > 0;) {
        if (hand[i] && hand[i]->isSelected()) hand[i]->setSelected();
    }
}

} // namespace kavo
