#include "table/cards/CardViewPhom.h"

#include "app/Util.h"
#include "table/cards/CardView.h"
#include "table/registry/GameController.h"
#include "table/registry/GameRecords.h"

namespace kavo {

CardViewPhom::CardViewPhom(platform::ui::Rect frame) : View(frame) {}

int8_t CardViewPhom::mapToRealCardIdWithId(int8_t cardId) {
    return static_cast<int8_t>(cardId < 8 ? cardId + 44 : cardId - 8);
}

int8_t CardViewPhom::mapFromMauBinhValue(int8_t cardId) {
    return static_cast<int8_t>(cardId < 4 ? cardId + 48 : cardId - 4);
}

int8_t CardViewPhom::mapToPhomValue(int8_t cardId) {
    const int8_t picture = mapToRealCardIdWithId(cardId);
    return static_cast<int8_t>(picture < 44 ? picture + 8 : picture - 44);
}

platform::ui::Size CardViewPhom::widgetSize() {
    const double scale = gameRecordOrNone(GameController::gameType()).cardScale;
    return {CardFace::cardWidth() * scale, CardFace::cardHeight() * scale};
}

std::shared_ptr<CardViewPhom> CardViewPhom::withCardID(int8_t cardId, bool isPhom, int32_t playerId) {
    auto card = std::make_shared<CardViewPhom>();
    card->setUpCard(cardId, isPhom, playerId);
    return card;
}

void CardViewPhom::setUpCard(int8_t cardId, bool isPhom, int32_t playerId) {
    // The current game's record says how its cards are numbered on the wire.
    const auto order = gameRecordOrNone(GameController::gameType()).cardOrder;
    if (order != CardOrder::None) {
        // An id outside 0..51 (255 included) never indexes the pictures: its mapped
        // index falls outside 0..51 too, and the back is shown.
        const bool onDeck = cardId >= 0 && cardId <= 51;
        const int index = !onDeck                      ? -1
                          : order == CardOrder::TwoLow ? mapFromMauBinhValue(cardId)
                                                       : mapToRealCardIdWithId(cardId);
        pictureName_ = CardFace::pictureOrBack(index);
    }
    setFrame({{0, 0}, widgetSize()});
    face_ = platform::ui::ImageView::make(bounds());
    face_->setContentMode(platform::ui::ContentMode::ScaleToFill);
    if (!pictureName_.empty()) face_->setImage(Util::getImageWithName(pictureName_));
    addSubview(face_);
    cardID_ = cardId;
    setTag(cardId);
    phom_ = 0;
    cardType_ = cardId % 4;
    cardValue_ = cardId / 4;
    cardColor_ = cardType_ > 1 ? 1 : 0;
    setCenter(CardFace::startCenter());
    setAccessibilityIdentifier(CardFace::identifier(cardId));
    if (isPhom) cardMapping_.assign(std::begin(kPhomRankMapping), std::end(kPhomRankMapping));
    playerID_ = playerId;
}

void CardViewPhom::setSelected() {
    isSelected_ = CardFace::toggleLift(*this, isSelected_);
}

void CardViewPhom::setHighLightWithWidth() {
    CardFace::setHighlight(*this, platform::ui::Color::white(), {-1, -1}, 1.0, 2.0);
}

void CardViewPhom::unsetHighLightWithWidth() {
    CardFace::setHighlight(*this, platform::ui::Color::clear(), {-1, -1}, 1.0, 2.0);
}

void CardViewPhom::setHighLightWithColor(platform::ui::Color color) {
    CardFace::setHighlight(*this, color, {-1, -1}, 1.0, 4.0);
}

void CardViewPhom::unsetHighLight() {
    CardFace::setHighlight(*this, platform::ui::Color::clear(), {0, 0}, 0, 0);
}

} // namespace kavo
